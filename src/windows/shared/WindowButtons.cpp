#include "windows/shared/WindowButtons.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

#include "windows/shared/Controls.h"

namespace quorvant {

QPushButton* MakePictureButton(const QString& objectName, QWidget* parent) {
    auto* button = Named<QPushButton>(objectName, parent);
    button->setIconSize(QSize(32, 32));
    button->setMinimumSize(48, 44);
    return button;
}

void SetPicture(QPushButton* button, const QIcon& icon, const QString& words) {
    button->setIcon(icon);
    button->setToolTip(words);
    button->setAccessibleName(words);
}

QPushButton* AddOnlyButton(QBoxLayout* layout, const QString& objectName, const QIcon& icon, const QString& words,
                           QWidget* parent) {
    QPushButton* button = MakePictureButton(objectName, parent);
    SetPicture(button, icon, words);
    layout->addStretch(1);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    return button;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) row->addWidget(button);
    return row;
}

void AddSaveShortcut(QWidget* window, QPushButton* save) {
    auto* shortcut = new QShortcut(QKeySequence::Save, window);
    QObject::connect(shortcut, &QShortcut::activated, save, [save] {
        if (save->isEnabled() && save->isVisible()) save->click();
    });
}

void PutButtonsLast(QWidget* window, std::initializer_list<QWidget*> buttons) {
    // The last widget of the chain that is not one of the buttons.
    QWidget* last = nullptr;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (std::find(buttons.begin(), buttons.end(), w) == buttons.end() && w->window() == window) last = w;
    if (!last) return;
    for (QWidget* button : buttons) {
        QWidget::setTabOrder(last, button);
        last = button;
    }
}

}  // namespace quorvant
