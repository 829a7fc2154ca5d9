// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/supportscheme.h"

#include <QDialog>

namespace kelsa
{

// «Схема опоры»: the drawing of the support for one computed moment, in a window of its own
// beside the main window. It keeps the scheme it was opened with and scales it to its size; it
// deletes itself when closed.
class SchemeWindow : public QDialog
{
    Q_OBJECT
public:
    SchemeWindow(SupportScheme scheme, QWidget *parent);

    const SupportScheme &scheme() const { return m_scheme; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SupportScheme m_scheme;
};

} // namespace kelsa
