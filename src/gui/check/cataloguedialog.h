// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/check/supportcatalogue.h"

#include <QDialog>

class QLabel;
class QStandardItemModel;

namespace kelsa
{

// «Каталог опор»: the catalogue as it was read: its file, the unit of Mн, every type with its
// Mн, where it applies and its source, and the rows left out and why; or why there is none.
class CatalogueDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CatalogueDialog(QWidget *parent = nullptr);
    void show(const SupportCatalogue &catalogue);

private:
    QLabel *m_summary = nullptr;
    QLabel *m_problems = nullptr;
    QStandardItemModel *m_types = nullptr;
};

} // namespace kelsa
