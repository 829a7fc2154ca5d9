// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/scheduleservices.h"

#include <QMessageBox>
#include <QPushButton>

namespace kelsa
{

UnsavedChangesQuestion scheduleUnsavedBox()
{
    return [](QWidget *parent, const QString &documentName) {
        return askAboutUnsavedChanges(parent,
            documentName.isEmpty()
                ? QStringLiteral("Сохранить новую ведомость опор? Она еще не сохранена в файл.")
                : QStringLiteral("Сохранить изменения в ведомости «%1»?").arg(documentName));
    };
}

PutCalculationQuestion putCalculationBox()
{
    return [](QWidget *parent, int rowNumber, const QString &support) {
        const QString from = support.isEmpty()
            ? QStringLiteral("строки %1").arg(rowNumber)
            : QStringLiteral("строки %1 (опора %2)").arg(rowNumber).arg(support);
        QMessageBox box(QMessageBox::Question, QStringLiteral("Kelsa"),
            QStringLiteral("Расчет взят из %1 ведомости опор. Заменить эту строку расчетом или "
                           "добавить его новой строкой?")
                .arg(from),
            QMessageBox::Cancel, parent);
        box.setTextFormat(Qt::PlainText);
        QPushButton *replace
            = box.addButton(QStringLiteral("Заменить строку"), QMessageBox::AcceptRole);
        QPushButton *add
            = box.addButton(QStringLiteral("Добавить строку"), QMessageBox::AcceptRole);
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
        box.setDefaultButton(replace);
        box.exec();
        if (box.clickedButton() == replace)
            return PutCalculation::ReplaceRow;
        if (box.clickedButton() == add)
            return PutCalculation::AddRow;
        return PutCalculation::Cancel;
    };
}

} // namespace kelsa
