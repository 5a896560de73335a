#pragma once

#include <QString>
#include <functional>
#include <utility>

namespace quorvant {

// What a save is beyond its writes, handed to its commit as a parameter: a commit on another
// thread takes it along as it is, and nothing of it lives in the thread that runs it.
struct SaveContext {
    SaveContext() = default;
    SaveContext(QString action, std::function<void()> lockWait = {})
        : action(std::move(action)), lockWait(std::move(lockWait)) {}

    // What the settings history records as the save's action; empty for a plain "save".
    QString action;
    // Called every few milliseconds while the commit waits for another writer's lock, on the
    // thread that commits, so the waiting program can show that it waits. It must not read or
    // write settings files itself. Empty: the wait only sleeps.
    std::function<void()> lockWait;
};

}  // namespace quorvant
