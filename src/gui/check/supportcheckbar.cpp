// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/check/supportcheckbar.h"

#include "core/check/utilisationcolour.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>
namespace kelsa
{

namespace
{

const QString kPick = QStringLiteral("подобрать");

} // namespace

QColor utilisationColour(UtilisationLevel level)
{
    return QColor::fromRgb(QRgb(utilisationRgb(level)));
}

SupportCheckBar::SupportCheckBar(QWidget *parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("supportCheckBar"));
    setSizeGripEnabled(false);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("supportCheckText"));
    m_text->setTextFormat(Qt::PlainText);
    m_percent = new QLabel(this);
    m_percent->setObjectName(QStringLiteral("supportCheckPercent"));
    m_percent->setTextFormat(Qt::PlainText);
    m_percent->setAutoFillBackground(true);
    m_percent->setContentsMargins(4, 0, 4, 0);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("supportCheckNote"));
    m_note->setTextFormat(Qt::PlainText);
    // A long note is cut at the bar's end rather than widen the window.
    m_note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_choice = new QComboBox(this);
    m_choice->setObjectName(QStringLiteral("supportTypeChoice"));
    m_choice->setToolTip(QStringLiteral("Тип опоры для проверки: выбранный или подобранный по "
                                        "каталогу опор"));
    addWidget(m_text);
    addWidget(m_percent);
    addWidget(m_note, 1);
    addPermanentWidget(m_choice);
    connect(m_choice, &QComboBox::activated, this, [this] {
        m_chosen = m_choice->currentData().toString();
        update();
        emit chosenTypeChanged();
    });
    fillChoice();
    update();
}

void SupportCheckBar::setCatalogue(const SupportCatalogue &catalogue)
{
    m_catalogue = catalogue;
    fillChoice();
    update();
}

void SupportCheckBar::setMoments(std::vector<ComputedMoment> moments)
{
    m_moments = std::move(moments);
    update();
}

QString SupportCheckBar::chosenType() const
{
    return m_chosen;
}

void SupportCheckBar::setChosenType(const QString &name)
{
    m_chosen = name.trimmed();
    fillChoice();
    update();
}

// «подобрать», the catalogue's types in its order, and a chosen name it does not hold.
void SupportCheckBar::fillChoice()
{
    const QSignalBlocker quiet(m_choice);
    m_choice->clear();
    m_choice->addItem(kPick, QString());
    if (m_catalogue.usable())
        for (const SupportType &type : m_catalogue.types)
            m_choice->addItem(type.name, type.name);
    const SupportType *chosen = m_catalogue.usable() ? m_catalogue.find(m_chosen) : nullptr;
    if (!m_chosen.isEmpty() && !chosen)
        m_choice->addItem(QStringLiteral("%1 (нет в каталоге)").arg(m_chosen), m_chosen);
    const QString shown = chosen ? chosen->name : m_chosen;
    m_choice->setCurrentIndex(std::max(0, m_choice->findData(shown)));
    // The choice takes the width of its items when first shown, and after that, once the types
    // can change (F5, another folder), whenever they do. Asked for before the first show, that
    // would build the list's popup, and Qt's item views with it, at every start of the window.
    if (m_choice->isVisible())
        m_choice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void SupportCheckBar::update()
{
    m_check = checkSupport(m_catalogue, m_moments, m_chosen);
    CheckLine line = checkLine(m_check, m_catalogue, QLocale());
    m_text->setToolTip(line.text);
    if (m_check.error == SupportCheck::Error::NoCatalogue) {
        // The bar has one line: how to add a catalogue, or why it is not used, goes after.
        QStringList parts { governingLine(m_check, QLocale()), noCatalogueText() };
        parts.removeAll(QString());
        line.text = parts.join(QStringLiteral(" · "));
        line.note = m_catalogue.state == SupportCatalogue::State::Absent
            ? QStringLiteral("положите опоры.xlsx (.xls, .ods) в папку справочных таблиц и "
                             "нажмите F5")
            : QStringLiteral("каталог не используется: «Справочники → Каталог опор»");
    }
    m_text->setText(line.text);
    m_percent->setText(line.percent);
    m_percent->setVisible(!line.percent.isEmpty());
    if (line.level) {
        QPalette palette = m_percent->palette();
        const QColor colour = utilisationColour(*line.level);
        palette.setColor(QPalette::Window, colour);
        palette.setColor(QPalette::WindowText,
            *line.level == UtilisationLevel::Amber ? QColor(Qt::black) : QColor(Qt::white));
        m_percent->setPalette(palette);
    }
    m_note->setText(line.note);
    m_note->setToolTip(line.note);
    emit checkChanged();
}

} // namespace kelsa
