#include "settings/KeyTable.h"

#include <algorithm>
#include <stdexcept>

#include "settings/ValueRules.h"

namespace quorvant {

KeyRow Row(const QString& key, std::function<void(const QString& text)> read, std::function<IniValue()> write) {
    return {key, key, std::move(read), std::move(write)};
}

void WriteIniValue(IniAccessor& ini, const IniValue& value) {
    std::visit([&](const auto& v) { ini.WriteValue(v); }, value);
}

void ReadRows(IniAccessor& ini, const SectionTable& table) {
    for (const KeyRow& row : table.rows) {
        SkipOnFailure([&] {
            ini.SetKey(row.readKey);
            row.read(ini.ReadValue());
        });
    }
}

void ReadRowsStrict(IniAccessor& ini, const SectionTable& table) {
    for (const KeyRow& row : table.rows) {
        ini.SetKey(row.readKey);
        row.read(ini.ReadValue());
    }
}

void WriteRows(IniAccessor& ini, const SectionTable& table) {
    auto writeRow = [&](const KeyRow& row) {
        const IniValue value = row.write();
        ini.SetKey(row.writeKey);
        WriteIniValue(ini, value);
    };
    if (table.writeOrder.isEmpty()) {
        for (const KeyRow& row : table.rows) writeRow(row);
        return;
    }
    QList<const KeyRow*> ordered;
    for (const QString& key : table.writeOrder) {
        const auto row = std::find_if(table.rows.begin(), table.rows.end(),
                                      [&](const KeyRow& candidate) { return candidate.writeKey == key; });
        if (row == table.rows.end() || ordered.contains(&*row))
            throw std::logic_error(("write order of [" + table.section + "]: " + key).toStdString());
        ordered.append(&*row);
    }
    if (ordered.size() != table.rows.size())
        throw std::logic_error(("write order of [" + table.section + "] leaves out a key").toStdString());
    for (const KeyRow* row : ordered) writeRow(*row);
}

void ReadSection(IniAccessor& ini, const SectionTable& table) {
    ini.SetSection(table.section);
    ReadRows(ini, table);
}

void WriteSection(IniAccessor& ini, const SectionTable& table) {
    ini.SetSection(table.section);
    WriteRows(ini, table);
}

}  // namespace quorvant
