// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/check/cataloguedialog.h"

#include "core/check/checktext.h"
#include "core/numbers/numbertext.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace kelsa
{

CatalogueDialog::CatalogueDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("catalogueDialog"));
    setWindowTitle(QStringLiteral("Каталог опор"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("catalogueSummary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_types = new QStandardItemModel(this);
    auto *view = new QTableView(this);
    view->setObjectName(QStringLiteral("catalogueTypes"));
    view->setModel(m_types);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->horizontalHeader()->setStretchLastSection(true);
    view->verticalHeader()->hide();
    m_problems = new QLabel(this);
    m_problems->setObjectName(QStringLiteral("catalogueProblems"));
    m_problems->setTextFormat(Qt::PlainText);
    m_problems->setWordWrap(true);
    m_problems->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(view, 1);
    layout->addWidget(m_problems);
    layout->addWidget(buttons);
    resize(640, 400);
}

void CatalogueDialog::show(const SupportCatalogue &catalogue)
{
    const QString file = QDir::toNativeSeparators(catalogue.filePath);
    if (catalogue.state == SupportCatalogue::State::Absent)
        m_summary->setText(QStringLiteral("%1: нет файла %2.\nЧтобы проверять тип опоры, %3: "
                                          "на первом листе строка заголовков, затем по строке на "
                                          "тип — A: тип, B: Mн (единица в заголовке B: «кН·м», "
                                          "«кгс·м» или «тс·м»), C: где действует Mн, D: источник; "
                                          "затем «Справочники → Перечитать таблицы» (F5).")
                               .arg(noCatalogueText(), file, addCatalogueHint()));
    else if (!catalogue.usable())
        m_summary->setText(
            QStringLiteral("Файл: %1\n%2.").arg(file, catalogueStateText(catalogue)));
    else
        m_summary->setText(QStringLiteral("Файл: %1\nЕдиница Mн: %2 (заголовок столбца B: «%3»); "
                                          "типов: %4.")
                               .arg(file, unitName(catalogue.unit), catalogue.unitHeading)
                               .arg(catalogue.types.size()));
    m_types->clear();
    m_types->setHorizontalHeaderLabels({ QStringLiteral("Строка"), QStringLiteral("Тип"),
        QStringLiteral("Mн, %1").arg(unitName(catalogue.unit)), QStringLiteral("Mн, кН·м"),
        QStringLiteral("Где действует Mн"), QStringLiteral("Источник") });
    for (const SupportType &type : catalogue.types)
        m_types->appendRow({ new QStandardItem(QString::number(type.row)),
            new QStandardItem(type.name), new QStandardItem(writeNumber(type.normative)),
            new QStandardItem(writeNumber(catalogue.normativeKNm(type))),
            new QStandardItem(type.note), new QStandardItem(type.source) });
    const QStringList problems = catalogueProblemLines(catalogue);
    m_problems->setText(problems.isEmpty()
            ? QString()
            : QStringLiteral("Пропущены строки:\n") + problems.join(QLatin1Char('\n')));
    m_problems->setVisible(!problems.isEmpty());
    QDialog::show();
    raise();
    activateWindow();
}

} // namespace kelsa
