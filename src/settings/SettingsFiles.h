#pragma once

#include <QString>

namespace quorvant {

// The files this program reads and writes, by the names the server gives them.
// In the program folder:
inline const QString kServerIni = QStringLiteral("server.ini");
inline const QString kNewsIni = QStringLiteral("news.ini");
inline const QString kLanguageFile = QStringLiteral("quorvant.lng");
// In the database folder (server.ini [Files] DatabasePath):
inline const QString kCommonSettingsIni = QStringLiteral("commonsettings.ini");
inline const QString kGenreDatabase = QStringLiteral("data.mdb");

}  // namespace quorvant
