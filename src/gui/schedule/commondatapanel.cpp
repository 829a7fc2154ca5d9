// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/schedule/commondatapanel.h"

#include "core/batch/batchcolumns.h"
#include "core/numbers/numbertext.h"
#include "core/schedule/schedule.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelsa
{

namespace
{

// Fields and options side by side in the grid: caption, then its edit.
constexpr int kPairsPerLine = 6;

// As the table's header and the batch columns name it.
QString fullCaption(InputField field)
{
    const QString name = QString::fromLatin1(fieldInfo(field).name);
    for (const BatchColumnInfo &column : batchColumns())
        if (column.name == name)
            return column.caption;
    return name;
}

// Short enough for the panel: the additional loads by their grid's letter and place, D1…D9 and
// F1…F9, as the designer's sheets name them; the others as in the table's header.
QString shortCaption(InputField field)
{
    if (field >= InputField::F1)
        return QStringLiteral("F%1").arg(int(field) - int(InputField::F1) + 1);
    if (field >= InputField::D1)
        return QStringLiteral("D%1").arg(int(field) - int(InputField::D1) + 1);
    return fullCaption(field);
}

void paintInvalid(QLineEdit *edit, bool invalid)
{
    QPalette palette = edit->parentWidget()->palette();
    if (invalid)
        palette.setColor(QPalette::Base, QColor(0xFF, 0xCD, 0xD2));
    edit->setPalette(palette);
}

} // namespace

CommonDataPanel::CommonDataPanel(QHash<QString, QString> optionCaptions, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("commonData"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *header = new QHBoxLayout;
    m_toggle = new QToolButton(this);
    m_toggle->setObjectName(QStringLiteral("commonDataToggle"));
    m_toggle->setText(QStringLiteral("Общие данные"));
    m_toggle->setToolTip(QStringLiteral(
        "Данные, общие для всех строк: варианты расчета и поля, для которых в ведомости нет "
        "столбца. Изменение пересчитывает все строки."));
    m_toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toggle->setArrowType(Qt::DownArrow);
    m_toggle->setCheckable(true);
    m_toggle->setChecked(true);
    m_toggle->setAutoRaise(true);
    auto *take = new QPushButton(QStringLiteral("Взять из окна расчета"), this);
    take->setObjectName(QStringLiteral("takeCommonFromMainWindow"));
    take->setToolTip(QStringLiteral(
        "Общие данные — тексты полей и варианты расчета, как они сейчас в окне расчета"));
    header->addWidget(m_toggle);
    header->addWidget(take);
    header->addStretch();
    layout->addLayout(header);

    m_content = new QWidget(this);
    m_grid = new QGridLayout(m_content);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(6);
    m_grid->setVerticalSpacing(3);
    layout->addWidget(m_content);

    for (const OptionGroupInfo &info : optionGroups()) {
        if (info.group == OptionGroup::Calculator)
            continue; // what the window's calculator button starts, no design data
        auto *combo = new QComboBox(m_content);
        combo->setObjectName(QStringLiteral("common_") + QString::fromUtf8(info.caption));
        for (const char *name : info.options) {
            const QString option = QString::fromLatin1(name);
            combo->addItem(optionCaptions.value(option, option));
        }
        m_options[std::size_t(info.group)] = combo;
        auto *caption = new QLabel(QString::fromUtf8(info.caption), m_content);
        caption->setBuddy(combo);
        m_optionCaptions[std::size_t(info.group)] = caption;
        connect(combo, &QComboBox::activated, this, &CommonDataPanel::edited);
    }
    for (const FieldInfo &info : inputFields()) {
        const QString name = QString::fromLatin1(info.name);
        auto *edit = new QLineEdit(m_content);
        edit->setObjectName(QStringLiteral("common_") + name);
        edit->setToolTip(name);
        edit->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000,000")));
        auto *caption = new QLabel(shortCaption(info.field), m_content);
        caption->setToolTip(QStringLiteral("%1 (%2)").arg(fullCaption(info.field), name));
        caption->setBuddy(edit);
        m_fields[std::size_t(info.field)] = edit;
        m_captions[std::size_t(info.field)] = caption;
        connect(edit, &QLineEdit::editingFinished, this, &CommonDataPanel::edited);
    }

    connect(m_toggle, &QToolButton::toggled, this, [this](bool open) {
        m_content->setVisible(open);
        m_toggle->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    });
    connect(take, &QPushButton::clicked, this, &CommonDataPanel::takeFromMainWindowRequested);
}

void CommonDataPanel::show(const Schedule &schedule)
{
    m_common = schedule.common;
    m_separator = schedule.decimalSeparator;
    if (schedule.fields != m_shownFields)
        layOut(schedule);
    const QLocale locale = schedule.locale();
    for (const FieldInfo &info : inputFields()) {
        QLineEdit *edit = field(info.field);
        const QString &text = m_common.text(info.field);
        if (edit->text() != text)
            edit->setText(text);
        const bool invalid = !text.trimmed().isEmpty() && !readNumber(text, locale);
        paintInvalid(edit, invalid);
        const QString name = QStringLiteral("%1 (%2)").arg(
            fullCaption(info.field), QString::fromLatin1(info.name));
        edit->setToolTip(invalid
                ? QStringLiteral("%1: не число в формате ведомости (разделитель «%2»)")
                      .arg(name, QString(m_separator))
                : name);
    }
    for (const OptionGroupInfo &info : optionGroups())
        if (QComboBox *combo = option(info.group))
            combo->setCurrentIndex(m_common.option(info.group));
}

// The options first, then the fields without a column, in the order of the main window.
void CommonDataPanel::layOut(const Schedule &schedule)
{
    m_shownFields = schedule.fields;
    while (m_grid->count() > 0)
        delete m_grid->takeAt(0);
    int cell = 0;
    const auto place = [&](QWidget *caption, QWidget *edit) {
        m_grid->addWidget(caption, cell / kPairsPerLine, 2 * (cell % kPairsPerLine));
        m_grid->addWidget(edit, cell / kPairsPerLine, 2 * (cell % kPairsPerLine) + 1);
        caption->show();
        edit->show();
        ++cell;
    };
    for (const OptionGroupInfo &info : optionGroups()) {
        if (QComboBox *combo = option(info.group)) {
            place(m_optionCaptions[std::size_t(info.group)], combo);
        }
    }
    cell = (cell + kPairsPerLine - 1) / kPairsPerLine * kPairsPerLine; // fields on a new line
    for (const FieldInfo &info : inputFields()) {
        QLineEdit *edit = field(info.field);
        QLabel *caption = m_captions[std::size_t(info.field)];
        if (schedule.holds(info.field)) {
            edit->hide();
            caption->hide();
        } else {
            place(caption, edit);
        }
    }
    for (int column = 0; column < 2 * kPairsPerLine; column += 2)
        m_grid->setColumnStretch(column + 1, 1);
}

void CommonDataPanel::edited()
{
    Calculation common = m_common;
    for (const FieldInfo &info : inputFields())
        common.text(info.field) = field(info.field)->text();
    for (const OptionGroupInfo &info : optionGroups())
        if (QComboBox *combo = option(info.group))
            common.setOption(info.group, combo->currentIndex());
    if (common != m_common)
        emit commonEdited(common);
}

} // namespace kelsa
