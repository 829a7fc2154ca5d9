// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace kelsa
{

// A text box of the main window. It tells apart a mouse click from keyboard focus: a click
// empties an input field or fills a look-up field, while tabbing into the field keeps its
// text so a value can be typed over. There is no length limit: whatever the user pastes is
// kept, and the calculation decides whether it is a number.
class FieldEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit FieldEdit(QWidget *parent = nullptr);

signals:
    // A left-button press and release inside the field.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace kelsa
