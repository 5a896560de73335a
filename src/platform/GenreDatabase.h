#pragma once

#include <QObject>

#include "platform/ServiceInterfaces.h"

namespace quorvant {

// Reads the genre list through the helper program quorvant-genres, so that a damaged database
// that hangs or crashes the reader cannot take the window with it. A reader that does not answer
// within the time limit is killed. `done` runs once per request, always later from the event loop
// (never inside Request), and never after this source is destroyed; a failure gives an empty list
// with the reason in Dutch.
class ProcessGenreSource : public GenreSource {
public:
    explicit ProcessGenreSource(const QString& helperProgram, int timeLimitMs = 5000);
    ~ProcessGenreSource() override;
    void Request(const QString& mdbPath, std::function<void(const GenreList&)> done) override;

private:
    QString helper_;
    int timeLimitMs_;
    QObject owner_;  // parent of running reader processes; stops them on destruction
};

}  // namespace quorvant
