// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

namespace kelsa
{

// A frame as the forms draw it: an etched rectangle whose caption sits in its top edge, so
// that the coordinates of the controls inside it keep their places under any widget style.
// A frame without a caption is a plain etched box. A bold caption is drawn bold without making
// the frame's font bold, so that the controls inside keep the plain face they inherit.
class FrameBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit FrameBox(const QString &title, QWidget *parent = nullptr);
    FrameBox(const QString &title, bool boldCaption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont captionFont() const;

    bool m_boldCaption = false;
};

} // namespace kelsa
