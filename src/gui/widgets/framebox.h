// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace kelsa
{

// A frame as the forms draw it: an etched rectangle whose caption sits in its top edge, so
// that the coordinates of the controls inside it keep their places under any widget style.
// A frame without a caption is a plain etched box.
class FrameBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit FrameBox(const QString &title, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kelsa
