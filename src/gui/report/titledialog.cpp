// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/report/titledialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelsa
{

std::optional<ReportTitle> editReportTitle(QWidget *parent, const ReportTitle &title)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ReportTitleDialog"));
    dialog.setWindowTitle(QStringLiteral("Титульный блок отчета"));
    auto *form = new QFormLayout;
    const auto addEdit = [&](const char *name, const QString &caption, const QString &text) {
        auto *edit = new QLineEdit(text, &dialog);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMinimumWidth(280);
        form->addRow(caption, edit);
        return edit;
    };
    QLineEdit *object = addEdit("object", QStringLiteral("Объект"), title.object);
    QLineEdit *support = addEdit("support", QStringLiteral("Опора №"), title.support);
    QLineEdit *author = addEdit("author", QStringLiteral("Составил"), title.author);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ReportTitle { object->text().trimmed(), support->text().trimmed(),
        author->text().trimmed() };
}

} // namespace kelsa
