// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/titledialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kelsa
{

std::optional<ScheduleTitle> editScheduleTitle(QWidget *parent, const ScheduleTitle &title)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ScheduleTitleDialog"));
    dialog.setWindowTitle(QStringLiteral("Титульный блок ведомости"));
    auto *form = new QFormLayout(&dialog);
    auto *object = new QLineEdit(title.object, &dialog);
    auto *author = new QLineEdit(title.author, &dialog);
    auto *date = new QLineEdit(title.date, &dialog);
    object->setMinimumWidth(object->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 50);
    date->setPlaceholderText(QStringLiteral("пусто — дата печати"));
    form->addRow(QStringLiteral("&Объект (линия, станция, перегон):"), object);
    form->addRow(QStringLiteral("&Составил:"), author);
    form->addRow(QStringLiteral("&Дата:"), date);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ScheduleTitle { object->text(), author->text(), date->text() };
}

} // namespace kelsa
