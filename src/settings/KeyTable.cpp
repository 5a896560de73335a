#include "settings/KeyTable.h"

#include "settings/ValueRules.h"

namespace quorvant {

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
    } else {
        for (int index : table.writeOrder) writeRow(table.rows.at(index));
    }
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
