#pragma once

#include <QObject>
#include <QString>

#include "binding/Binding.h"
#include "platform/ServiceInterfaces.h"

class QGridLayout;
class QLabel;

namespace quorvant {

class LedLabel;
class SpinButton;

// One sound card row of the sound cards page and the jingle cards dialog: a caption, an LED
// display with the chosen device's name, and a spin button from -1 (the default device) to the
// last device. The row holds the card number the save writes; a step shows the new card's name
// and makes it the row's card.
class CardRow : public QObject {
    Q_OBJECT

public:
    // Adds the three controls as row `index` of `grid`, named "<labelName>(index)", "ledKaart(index)"
    // and "updKaart(index)"; the caption is the spin's buddy.
    CardRow(int index, const QString& labelName, const QString& caption, qint16 card, const WaveOutDevices& devices,
            QGridLayout* grid, QWidget* parent);

    // Shows the device name of `card` in the display; the row's card stays as it is.
    void ToonKaart(qint16 card);
    void updKaart_Change(int value);

    // The key of the row's card (empty-default rule, written as a 16-bit number). The sound cards
    // page shows the card after every read, also one that left the number as it was; a jingle
    // column whose text is refused has no card, and shows only a card the file names.
    Binding Bind(const schema::Key& key);

    qint16 Card() const { return card_; }
    void SetCard(qint16 card) { card_ = card; }
    // The spin runs from -1 to `highest` and starts at the row's card, so the first step moves
    // away from the card shown. A card beyond the limits puts the spin at the nearest limit.
    void StartSpin(int highest);
    // Screen-reader names of the spin and the display, made from the caption (the designer's while
    // the text table has none).
    void SetNames(QString (*spin)(const QString& caption), QString (*display)(const QString& caption));

    QLabel* const label;
    LedLabel* const led;
    SpinButton* const spin;

private:
    const WaveOutDevices& devices_;
    const QString caption_;
    qint16 card_;
};

}  // namespace quorvant
