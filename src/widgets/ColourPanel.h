#pragma once

#include <QFrame>

namespace quorvant {

// Panel with a caption drawn in its text colour on its background colour. Colours are
// 0x00BBGGRR numbers as stored in the settings; any 32-bit number is accepted, the low 24 bits
// are drawn.
class ColourPanel : public QFrame {
    Q_OBJECT

public:
    explicit ColourPanel(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }
    void SetBackColour(qint32 bgr);
    qint32 BackColour() const { return back_; }
    void SetTextColour(qint32 bgr);
    qint32 TextColour() const { return text_; }
    void SetBold(bool bold);
    // Lowered inner bevel as the time-signal panel has.
    void SetLowered(bool lowered);

    static QColor ToColor(qint32 bgr);
    static qint32 FromColor(const QColor& color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    qint32 back_ = 0;
    qint32 text_ = 0;
};

}  // namespace quorvant
