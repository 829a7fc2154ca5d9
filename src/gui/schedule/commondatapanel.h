// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/calculation.h"

#include <QHash>
#include <QWidget>

#include <array>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kelsa
{

struct Schedule;

// «Общие данные» above the schedule's table: the design options and the text of every field
// the schedule holds no column for, which every row takes. Editing one (a field when it is left,
// an option when it is chosen) asks for the common data to change as a whole; the window makes
// that one undoable edit. «Из окна расчета» asks for the main window's texts and options.
class CommonDataPanel : public QWidget
{
    Q_OBJECT
public:
    // The options are named as the main window shows them, by control name ("Option19").
    explicit CommonDataPanel(QHash<QString, QString> optionCaptions, QWidget *parent = nullptr);

    // Shows the schedule's common data: its options, and its fields without a column.
    void show(const Schedule &schedule);

    QLineEdit *field(InputField field) const { return m_fields[std::size_t(field)]; }
    QComboBox *option(OptionGroup group) const { return m_options[std::size_t(group)]; }

signals:
    void commonEdited(const kelsa::Calculation &common);
    void takeFromMainWindowRequested();

private:
    void edited();
    void layOut(const Schedule &schedule);

    QToolButton *m_toggle = nullptr;
    QWidget *m_content = nullptr;
    QGridLayout *m_grid = nullptr;
    std::array<QLineEdit *, kInputFieldCount> m_fields {};
    std::array<QLabel *, kInputFieldCount> m_captions {};
    std::array<QComboBox *, kOptionGroupCount> m_options {};
    std::array<QLabel *, kOptionGroupCount> m_optionCaptions {};
    Calculation m_common;
    QChar m_separator;
    std::vector<InputField> m_shownFields;
};

} // namespace kelsa
