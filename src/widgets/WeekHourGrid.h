#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

class QPushButton;

namespace quorvant {

class StateCheckBox;

// Seven rows (Monday first) of 24 hour boxes with clickable day and hour labels. A row is stored
// as a day string of 24 digits 0/1/2, character h+1 holding hour h.
// For the keyboard the grid is one Tab stop: the arrow keys (Home/End: row start/end) move through
// the boxes and the labels, Space toggles the focused box or presses the focused label.
class WeekHourGrid : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDays = 7;
    static constexpr int kHours = 24;
    // Row keys in day order.
    static const QStringList& DayKeys();

    // What DecodeDay does with a character that is not 0, 1 or 2.
    enum class BadCharacter { Skip, Zero };

    // `boxNamePrefixes` are the row control names (e.g. "chkMA".."chkZO"), `dayLabelName` and
    // `hourLabelName` the label array names; they become object names "name(index)".
    WeekHourGrid(const QStringList& boxNamePrefixes, const QString& dayLabelName, const QString& hourLabelName,
                 QWidget* parent = nullptr);

    void SetDayCaptions(const QStringList& captions);

    void DecodeDay(int day, const QString& text, BadCharacter bad);
    QString EncodeDay(int day) const;
    void ToggleDayRow(int day);
    void ToggleHourColumn(int hour);

    StateCheckBox* Box(int day, int hour) const { return boxes_[day][hour]; }
    QPushButton* DayLabel(int day) const { return dayLabels_[day]; }
    QPushButton* HourLabel(int hour) const { return hourLabels_[hour]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Cells by row (0: hour labels, 1..7: days) and column (0: day labels, 1..24: hours).
    static constexpr int kRows = kDays + 1;
    static constexpr int kColumns = kHours + 1;
    QWidget* Cell(int row, int column) const;
    void MakeCurrent(int row, int column);

    int currentRow_ = 1;
    int currentColumn_ = 1;
    std::array<std::array<StateCheckBox*, kHours>, kDays> boxes_{};
    std::array<QPushButton*, kDays> dayLabels_{};
    std::array<QPushButton*, kHours> hourLabels_{};
};

}  // namespace quorvant
