// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"

Form1::Form1(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kelsa1.0"));
}
