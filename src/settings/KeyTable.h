#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <variant>

#include "settings/IniAccessor.h"

namespace quorvant {

// What a write step hands to WriteValue: text, or a 16- or 32-bit whole number.
using IniValue = std::variant<QString, qint16, qint32>;

// One key of a window, declared once: the name the read pass asks for, the name the write pass
// stores under, how a read text reaches the control, and what the save writes.
struct KeyRow {
    QString readKey;
    QString writeKey;
    // Applies the key's rule to its control; throws StepFailed (or anything) to skip the step.
    std::function<void(const QString& text)> read;
    // What the save writes. It changes nothing: windows also ask it to see whether they hold
    // unsaved edits.
    std::function<IniValue()> write;
};

// A row whose key has one name for both passes.
KeyRow Row(const QString& key, std::function<void(const QString& text)> read, std::function<IniValue()> write);

// A window's keys of one section. `rows` are in read order; `writeOrder` names every row's write
// key in the order the save writes them, empty when it is the read order.
struct SectionTable {
    QString section;
    QList<KeyRow> rows;
    QStringList writeOrder = {};
};

void WriteIniValue(IniAccessor& ini, const IniValue& value);

// Read rows of the already selected section, each under skip-on-failure.
void ReadRows(IniAccessor& ini, const SectionTable& table);
// Read rows without skipping: the first failure propagates.
void ReadRowsStrict(IniAccessor& ini, const SectionTable& table);
// Write rows into the already selected section in write order; a failure propagates. A write
// order that does not name each row exactly once is a programming error (std::logic_error),
// raised before anything is written.
void WriteRows(IniAccessor& ini, const SectionTable& table);

// Select the table's section, then read (skip-on-failure) or write.
void ReadSection(IniAccessor& ini, const SectionTable& table);
void WriteSection(IniAccessor& ini, const SectionTable& table);

}  // namespace quorvant
