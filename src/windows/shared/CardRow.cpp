#include "windows/shared/CardRow.h"

#include <QGridLayout>
#include <QLabel>
#include <algorithm>

#include "schema/Interpret.h"
#include "text/Messages.h"
#include "widgets/LedLabel.h"
#include "widgets/SpinButton.h"

namespace quorvant {

CardRow::CardRow(int index, const QString& labelName, const QString& caption, qint16 card,
                 const WaveOutDevices& devices, QGridLayout* grid, QWidget* parent)
    : QObject(parent),
      label(new QLabel(caption, parent)),
      led(new LedLabel(27, parent)),
      spin(new SpinButton(parent)),
      devices_(devices),
      caption_(caption),
      card_(card) {
    label->setObjectName(QString("%1(%2)").arg(labelName).arg(index));
    led->setObjectName(QString("ledKaart(%1)").arg(index));
    spin->setObjectName(QString("updKaart(%1)").arg(index));
    spin->SetLowest(-1);
    // Display and arrows of one height, so the rows stay as low as the display.
    const int height = std::max(led->sizeHint().height(), 28);
    led->setFixedHeight(height);
    spin->setFixedSize(22, height);
    label->setBuddy(spin);
    connect(spin, &SpinButton::stepped, this, &CardRow::updKaart_Change);
    grid->addWidget(label, index, 0);
    grid->addWidget(led, index, 1);
    grid->addWidget(spin, index, 2);
}

void CardRow::ToonKaart(qint16 card) {
    // Not a device (any more): say so rather than show nothing or another card's name.
    const std::optional<QString> name = devices_.DeviceName(card);
    led->SetCaption(name ? *name : msg::CardMissing(card));
}

void CardRow::updKaart_Change(int value) {
    ToonKaart(qint16(value));
    card_ = qint16(value);
}

Binding CardRow::Bind(const schema::Key& key) {
    return Binding{&key,
                   [this, &key](const QString& text) {
                       const schema::Reading reading = schema::Interpret(key, text);
                       if (reading.number) SetCard(qint16(*reading.number));
                       if (!key.Has(schema::FailGivesDefault) || (!reading.problem && !text.isEmpty()))
                           ToonKaart(card_);
                   },
                   [this]() -> IniValue { return card_; }, spin};
}

void CardRow::StartSpin(int highest) {
    spin->SetHighest(highest);
    spin->SetValue(card_);
}

void CardRow::SetNames(QString (*spinName)(const QString&), QString (*displayName)(const QString&)) {
    const QString caption = label->text().isEmpty() ? caption_ : label->text();
    spin->setAccessibleName(spinName(caption));
    led->setAccessibleName(displayName(caption));
}

}  // namespace quorvant
