// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace kelsa
{

// A command button whose caption breaks into lines at blanks and hyphens when it is wider than
// the button, as the two-line captions of the transition-support buttons need ("Ветер от пути
// на опору-ПЯТА"). The caption text itself stays exactly as given.
class WrapButton : public QPushButton
{
    Q_OBJECT
public:
    explicit WrapButton(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kelsa
