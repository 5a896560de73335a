#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

#include "windows/main_window/frmSetup.h"
#include "support/Fakes.h"
#include "support/TestFolder.h"

namespace quorvant::test {

// The main window as at a program start: a temp program folder holding `serverIni` (no file when
// it is null), program state reset, the window built with fakes.
struct WindowFixture {
    explicit WindowFixture(const QByteArray& serverIni) {
        if (!serverIni.isNull()) folder.Write("server.ini", serverIni);
        ResetProgramState();
        window = std::make_unique<frmSetup>(folder.Path(), fakes.Get());
    }
    // Presses save and gives the key lines of `section` as saved, or {"save failed"}.
    QStringList SavedSection(const QString& section) {
        if (!window->cmdSave_Click()) return {"save failed"};
        return SectionLines(folder.Read("server.ini"), section);
    }
    QString Saved(const QString& section, const QString& key) const {
        return IniValueInFile(folder.File("server.ini"), section, key);
    }

    TempProgramFolder folder;
    FakeServices fakes;
    std::unique_ptr<frmSetup> window;
};

}  // namespace quorvant::test
