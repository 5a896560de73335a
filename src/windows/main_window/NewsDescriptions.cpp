#include "windows/main_window/NewsDescriptions.h"

#include <QPushButton>

#include "binding/ControlRows.h"
#include "text/TextTable.h"

namespace quorvant {

NewsDescriptions::NewsDescriptions(SetupContext& context, const std::array<QPushButton*, kNewsItems>& buttons)
    : SetupPart(context) {
    // commonsettings.ini [Desc], one key per news button in button order. Any text counts as a
    // description, blanks included; only an empty one falls back to the key's own caption.
    const std::span<const schema::Key> keys = schema::KeysOf(schema::File::Common);
    for (int item = 0; item < kNewsItems; ++item) {
        const schema::Key& key = keys[std::size_t(item)];
        QPushButton* button = buttons[std::size_t(item)];
        Add(Bind(
            key, button,
            [&key, button](const QString& text) { button->setText(text.isEmpty() ? schema::LabelText(key) : text); },
            [button]() -> IniValue { return button->text(); }));
    }
}

}  // namespace quorvant
