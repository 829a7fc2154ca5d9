// SPDX-License-Identifier: GPL-3.0-or-later
// The report's section «Проверка несущей способности» on the help page's example as the window
// saves it after some work (a stale moment, a moment left at 0). Types and Mн are made up.
#include "core/report/supportcheckreport.h"

#include "support/helpexample.h"

#include <QTest>

using namespace kelsa;

namespace
{

SupportCatalogue madeUpCatalogue()
{
    SupportCatalogue catalogue;
    catalogue.state = SupportCatalogue::State::Ok;
    catalogue.filePath = QStringLiteral("/tables/опоры.xlsx");
    catalogue.unit = MomentUnit::KilogramForceMetre;
    catalogue.types = { { QStringLiteral("Проба-А"), 2000, QStringLiteral("у пяты"),
                            QStringLiteral("выдуманная таблица 1"), 2 },
        { QStringLiteral("Проба-Б"), 3000, {}, {}, 3 } };
    return catalogue;
}

// The blocks one line each: a section as «# …», a table row with « | » between its cells, a
// warning as «! …».
QStringList lines(const std::vector<ReportBlock> &blocks)
{
    QStringList lines;
    for (const ReportBlock &block : blocks) {
        if (block.kind == ReportBlock::Kind::Table)
            for (const QStringList &row : block.rows)
                lines << row.join(QStringLiteral(" | "));
        else if (block.kind == ReportBlock::Kind::Section)
            lines << QStringLiteral("# ") + block.text;
        else if (block.kind == ReportBlock::Kind::Warning)
            lines << QStringLiteral("! ") + block.text;
        else
            lines << block.text;
    }
    return lines;
}

} // namespace

class TestSupportCheckReport : public QObject
{
    Q_OBJECT

private slots:
    void section_data();
    void section();
};

void TestSupportCheckReport::section_data()
{
    QTest::addColumn<SupportCatalogue>("catalogue");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("expected");

    const QString head = QStringLiteral("# Проверка несущей способности");
    const QString file = QStringLiteral("Каталог опор | /tables/опоры.xlsx");
    const QString governing
        = QStringLiteral("Расчетный момент | 1856,95 кгс·м = 18,21 кН·м (Мо в max)");
    const QString momentsHeader = QStringLiteral("Момент | Значение | Использование");
    const QString stale = QStringLiteral("Мо вг | 1335,63 кгс·м = 13,10 кН·м | не учтен: исходные "
                                         "данные изменены после расчета");
    QTest::newRow("picked: stale Мо вг left out, Lp 0 not a moment")
        << madeUpCatalogue() << ""
        << QStringList { head, file, governing,
               "Тип опоры | Проба-А (подобран: наименьший Mн, при котором использование не "
               "больше 100 %)",
               "Mн | 19,6133 кН·м (в каталоге 2000 кгс·м)", "Где действует Mн | у пяты",
               "Источник Mн | выдуманная таблица 1", momentsHeader, stale,
               "Мо в max | 1856,95 кгс·м = 18,21 кН·м | 92,9 %",
               "Вывод: опора типа Проба-А выдерживает расчетный момент, использование 92,9 %." };
    SupportCatalogue weak = madeUpCatalogue();
    weak.types[1].normative = 1800;
    QTest::newRow("chosen type that does not hold")
        << weak << "Проба-Б"
        << QStringList { head, file, governing, "Тип опоры | Проба-Б (выбран проектировщиком)",
               "Mн | 17,65197 кН·м (в каталоге 1800 кгс·м)", "Где действует Mн | —",
               "Источник Mн | —", momentsHeader, stale,
               "Мо в max | 1856,95 кгс·м = 18,21 кН·м | 103,2 %",
               "! Вывод: опора типа Проба-Б не выдерживает расчетный момент, использование "
               "103,2 %." };
    QTest::newRow("no catalogue")
        << SupportCatalogue() << ""
        << QStringList { head, "Каталог опор | нет каталога опор", governing,
               "! Вывод: проверка не выполнена — нет каталога опор: положите книгу опоры.xlsx "
               "(или .xls, .ods) с типами опор и их Mн в папку справочных таблиц." };
    QTest::newRow("chosen type not in the catalogue")
        << madeUpCatalogue() << "Проба-В"
        << QStringList { head, file, governing,
               "! Вывод: проверка не выполнена — тип «Проба-В» не найден в каталоге опор "
               "/tables/опоры.xlsx." };
}

void TestSupportCheckReport::section()
{
    QFETCH(SupportCatalogue, catalogue);
    QFETCH(QString, chosen);
    QFETCH(QStringList, expected);
    ReportInput input = test::helpPageReport();
    input.catalogue = catalogue;
    input.saved.supportType = chosen;
    std::vector<ReportBlock> blocks;
    appendSupportCheck(blocks, input);
    QCOMPARE(lines(blocks), expected);
    // buildReport ends with this section.
    QCOMPARE(lines(buildReport(input)).mid(lines(buildReport(input)).size() - expected.size()),
        expected);
}

QTEST_GUILESS_MAIN(TestSupportCheckReport)
#include "test_supportcheckreport.moc"
