// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/check/checktext.h"
#include "core/check/supportcheck.h"

#include <QColor>
#include <QStatusBar>

#include <vector>

class QComboBox;
class QLabel;

namespace kelsa
{

// The colour the utilisation is shown on: green up to 90 %, amber up to 100 %, red above.
QColor utilisationColour(UtilisationLevel level);

// The status bar under the main window's form: the governing moment, the support type checked,
// its Mн and the utilisation on its colour, and a choice of the type («подобрать» or one of the
// catalogue). It holds the catalogue and the moments it is given and checks them on every change.
class SupportCheckBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit SupportCheckBar(QWidget *parent = nullptr);

    void setCatalogue(const SupportCatalogue &catalogue);
    void setMoments(std::vector<ComputedMoment> moments);
    // The designer's choice; empty for «подобрать». A name not in the catalogue stays chosen
    // (a file may name one) and is shown as not found.
    QString chosenType() const;
    void setChosenType(const QString &name);

    const SupportCatalogue &catalogue() const { return m_catalogue; }
    const SupportCheck &check() const { return m_check; }

signals:
    // The designer chose another type (not when setChosenType() did).
    void chosenTypeChanged();
    // The check changed: the tooltips of the results follow.
    void checkChanged();

private:
    void fillChoice();
    void update();

    QLabel *m_text = nullptr;
    QLabel *m_percent = nullptr;
    QLabel *m_note = nullptr;
    QComboBox *m_choice = nullptr;
    SupportCatalogue m_catalogue;
    std::vector<ComputedMoment> m_moments;
    QString m_chosen;
    SupportCheck m_check;
};

} // namespace kelsa
