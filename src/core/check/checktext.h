// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The check of the support type in words: the window's status bar and tooltips, the report,
// and the messages of kelsa --compute and --batch all say it alike.

#include "core/check/supportcheck.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelsa
{

// «нет каталога опор».
QString noCatalogueText();
// How to add a catalogue to the tables folder, one sentence.
QString addCatalogueHint();

// «Мо вг», «Мо в max», «переходная, вг, от опоры на путь, пята».
QString momentShortName(Moment moment);

// A percentage as the check shows it, rounded up (utilisationPercent): «31 %», or with
// `decimals` places «30,9 %».
QString percentText(double utilisation, int decimals, const QLocale &locale);

// Why the catalogue is not used, one sentence without the file's name; empty when it is used.
QString catalogueStateText(const SupportCatalogue &catalogue);

// The rows left out of a usable catalogue, one line each: «строка 5: нет названия типа».
QStringList catalogueProblemLines(const SupportCatalogue &catalogue);

// What start-up says about the catalogue: its file, why it is not used or the rows left out;
// empty when there is nothing to tell (no catalogue at all, or a sound one).
QString catalogueReport(const SupportCatalogue &catalogue);

// The status bar: the text and, when a type was checked, its utilisation and colour.
// «Расчетный момент 1856,95 кгс·м = 18,21 кН·м (Мо в max) · тип СС-1 · Mн 59 кН·м ·» and
// «31 %».
struct CheckLine {
    QString text;
    QString percent; // empty when no type was checked
    std::optional<UtilisationLevel> level;
    QString note; // after the percentage: the stale moments left out
};
CheckLine checkLine(
    const SupportCheck &check, const SupportCatalogue &catalogue, const QLocale &locale);

// The line's start alone: «Расчетный момент 1856,95 кгс·м = 18,21 кН·м (Мо в max)», or why there
// is none; empty when no moment was computed and the check stopped before moments.
QString governingLine(const SupportCheck &check, const QLocale &locale);

// The check's error in one sentence, for --compute's "message" and the report; empty for None.
QString checkErrorText(
    const SupportCheck &check, const SupportCatalogue &catalogue, const QLocale &locale);

// «Использование для типа СС-1 (Mн 59 кН·м): 31 %», the line a result's tooltip adds; empty
// when no type was checked.
QString utilisationNote(double kgfm, const SupportCheck &check, const SupportCatalogue &catalogue,
    const QLocale &locale);

} // namespace kelsa
