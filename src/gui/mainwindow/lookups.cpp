// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/lookups.h"

#include "gui/widgets/fieldedit.h"
#include "gui/mainwindow/form1.h"
#include "gui/mainwindow/designoptions.h"

namespace kelsa
{

LoadLookups::LoadLookups(Form1 &form, const DesignOptions &options)
    : m_form(form)
    , m_options(options)
{
    for (const char *name :
        { "txtGp", "txtGpr", "txtGnv", "txtPkv", "txtPprv", "txtSum1", "txtSum2" }) {
        const QString field = QString::fromLatin1(name);
        connect(form.field(field), &FieldEdit::clicked, this, [this, field] { lookUp(field); });
    }
}

QString LoadLookups::sourceCell(const QString &lookupField) const
{
    const int i = m_options.iceIndex();
    // Weights with ice: one cell per wall thickness, 5, 10, 15, 20 mm.
    if (lookupField == QLatin1String("txtGp"))
        return QStringLiteral("Gp%1").arg(5 + 5 * i);
    if (lookupField == QLatin1String("txtGpr"))
        return QStringLiteral("Gpr%1").arg(5 + 5 * i);
    // Wind on the messenger and the feeder wires: ice-major, three wind speeds per thickness.
    const int w = m_options.rnvWindIndex();
    if (lookupField == QLatin1String("txtGnv"))
        return QStringLiteral("Pnv%1").arg(1 + 3 * i + w);
    if (lookupField == QLatin1String("txtPprv"))
        return QStringLiteral("Pprv%1").arg(1 + 3 * i + w);
    // Wind on the contact wire: wind-major, four thicknesses per wind speed.
    if (lookupField == QLatin1String("txtPkv"))
        return QStringLiteral("Pkv%1").arg(6 + 4 * m_options.pkvWindIndex() + i);
    // Weights without ice: one value per row.
    if (lookupField == QLatin1String("txtSum1"))
        return QStringLiteral("Text6");
    if (lookupField == QLatin1String("txtSum2"))
        return QStringLiteral("Text8");
    return {};
}

void LoadLookups::lookUp(const QString &lookupField)
{
    m_form.field(lookupField)->setText(m_form.field(sourceCell(lookupField))->text());
}

} // namespace kelsa
