// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
};
