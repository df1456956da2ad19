#pragma once

#include <QRadioButton>

// An option button whose caption wraps at the button's width, as the
// wizard's narrow platform choices need; a plain QRadioButton never wraps.
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit OptionButton(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};
