#include "plot/axislabels.h"
#include "plot/pointerlevels.h"
#include "scan/scantext.h"

#include <QTest>

// The numbers a grown window adds along the plots' axes, and the levels
// under the pointer, without a window. Texts are 6 pixels a character here.
class TestAxisLabels : public QObject
{
    Q_OBJECT

private slots:
    void frequenciesAtTheGridLinesThatHaveRoom_data();
    void frequenciesAtTheGridLinesThatHaveRoom();
    void levelValuesWhereNothingElseStands_data();
    void levelValuesWhereNothingElseStands();
    void levelsUnderThePointer_data();
    void levelsUnderThePointer();
};

namespace {

int sixPerCharacter(const QString &text) { return 6 * int(text.size()); }

// "value@centre" for each label, top or left first.
QString placed(const std::vector<ws::AxisLabel> &labels)
{
    QStringList out;
    for (const ws::AxisLabel &label : labels)
        out << label.text + QLatin1Char('@') + QString::number(label.centre);
    return out.join(QLatin1Char(' '));
}

QString texts(const std::vector<ws::AxisLabel> &labels)
{
    QStringList out;
    for (const ws::AxisLabel &label : labels)
        out << label.text;
    return out.join(QLatin1Char(' '));
}

} // namespace

void TestAxisLabels::frequenciesAtTheGridLinesThatHaveRoom_data()
{
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("last");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("labels");

    // 2051 MHz: 100 MHz are 31 pixels at the default width, 56 in a window
    // 1280 wide, where the plots' area is 1154 pixels.
    QTest::newRow("default width: every 200")
        << 10700.0 << 12750.0 << 637
        << "10800 11000 11200 11400 11600 11800 12000 12200 12400 12600";
    QTest::newRow("1280 wide: every 100, not cut at either end")
        << 10700.0 << 12750.0 << 1154
        << "10800 10900 11000 11100 11200 11300 11400 11500 11600 11700 11800 11900 12000 "
           "12100 12200 12300 12400 12500 12600 12700";
    QTest::newRow("narrow: every 500") << 10700.0 << 12750.0 << 300 << "11000 11500 12000 12500";
    QTest::newRow("narrower: none") << 10700.0 << 12750.0 << 120 << "";
    QTest::newRow("zoomed in, no line on show") << 11020.0 << 11080.0 << 1154 << "";
    // The grid starts at 11000 (109.5 to even); the lines' columns.
    QTest::newRow("200 MHz, at the lines' columns") << 10950.0 << 11149.0 << 637
                                                     << "11000@159 11100@477";
    QTest::newRow("beyond 16 bits") << 30000.0 << 33000.0 << 1154 << "";
}

void TestAxisLabels::frequenciesAtTheGridLinesThatHaveRoom()
{
    QFETCH(double, first);
    QFETCH(double, last);
    QFETCH(int, width);
    QFETCH(QString, labels);
    const std::vector<ws::AxisLabel> got =
        ws::frequencyLabels(ws::View({first, last}), width, sixPerCharacter);
    QCOMPARE(labels.contains(QLatin1Char('@')) ? placed(got) : texts(got), labels);
}

void TestAxisLabels::levelValuesWhereNothingElseStands_data()
{
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("areaHeight");
    QTest::addColumn<QList<int>>("taken"); // first and last row of each
    QTest::addColumn<QString>("labels");

    // Levels 109 to 710 (602 high), texts 13 pixels high: a step of 200
    // on the level plot's 149 rows, of 100 on 269.
    QTest::newRow("149 rows, every 200") << 710.0 << 602.0 << 149 << QList<int>{}
                                         << "600@27 400@76 200@126";
    QTest::newRow("269 rows, top cut off") << 710.0 << 602.0 << 269 << QList<int>{}
                                           << "600@49 500@93 400@138 300@183 200@227";
    // Beside it: the top value, the title and legend, the bottom value.
    const QList<int> beside{-2, 15, 20, 117, 244, 261};
    QTest::newRow("beside the legend and the ends")
        << 710.0 << 602.0 << 269 << beside << "400@138 300@183 200@227";
    QTest::newRow("two rows clear") << 710.0 << 602.0 << 269 << QList<int>{236, 252}
                                    << "600@49 500@93 400@138 300@183 200@227";
    QTest::newRow("one row clear") << 710.0 << 602.0 << 269 << QList<int>{235, 252}
                                   << "600@49 500@93 400@138 300@183";
    // The difference plot: +602 at the top, -602 at the bottom.
    QTest::newRow("differences, through 0") << 602.0 << 1204.0 << 205 << QList<int>{}
                                            << "400@34 200@68 0@102 -200@136 -400@170";
    QTest::newRow("levels 3 to 5: every 1") << 5.0 << 3.0 << 149 << QList<int>{} << "4@49 3@99";
    QTest::newRow("negative levels") << -20.0 << 50.0 << 149 << QList<int>{}
                                     << "-30@29 -40@59 -50@89 -60@119";
    QTest::newRow("no step below 1") << 0.3 << 1.2 << 149 << QList<int>{} << "0@37";
    QTest::newRow("lower than a text") << 710.0 << 602.0 << 10 << QList<int>{} << "";
    QTest::newRow("far beyond whole doubles") << 1e300 << 1.0 << 149 << QList<int>{} << "";
}

void TestAxisLabels::levelValuesWhereNothingElseStands()
{
    QFETCH(double, top);
    QFETCH(double, height);
    QFETCH(int, areaHeight);
    QFETCH(QList<int>, taken);
    QFETCH(QString, labels);
    std::vector<ws::Rows> rows;
    for (int i = 0; i + 1 < taken.size(); i += 2)
        rows.push_back({taken[i], taken[i + 1]});
    const std::vector<ws::AxisLabel> got = ws::valueLabels({top, height}, areaHeight, 13, rows);
    QCOMPARE(placed(got), labels);
}

void TestAxisLabels::levelsUnderThePointer_data()
{
    QTest::addColumn<bool>("referenceVertical");
    QTest::addColumn<double>("mhz");
    QTest::addColumn<QString>("levels");

    // Both scans 10900 to 11100 (the reference from 11000), universal LNB;
    // at 11000 MHz the newest has 40 and 25.5, the reference 30 and 27.
    QTest::newRow("both polarisations")
        << true << 11000.0 << "h: new 40 old 30 diff. 10   v: new 25.5 old 27 diff. -1.5";
    QTest::newRow("the readout's whole MHz")
        << true << 11000.5 << "h: new 40 old 30 diff. 10   v: new 25.5 old 27 diff. -1.5";
    QTest::newRow("the reference without vertical")
        << false << 11000.0 << "h: new 40 old 30 diff. 10   v: new 25.5";
    QTest::newRow("before the reference's range") << true << 10999.0 << "h: new 0   v: new 0";
    QTest::newRow("beyond both") << true << 11101.0 << "";
}

void TestAxisLabels::levelsUnderThePointer()
{
    QFETCH(bool, referenceVertical);
    QFETCH(double, mhz);
    QFETCH(QString, levels);
    auto newest = ws::test::withLnb(1044);
    auto reference = ws::test::withLnb(1044);
    newest->first = 10900;
    reference->first = 11000;
    newest->last = reference->last = 11100;
    newest->layout.horizontal = newest->layout.vertical = reference->layout.horizontal = true;
    reference->layout.vertical = referenceVertical;
    const int cell = 11000 - 9750;
    newest->levels[ws::HLow][cell] = 40;
    newest->levels[ws::VLow][cell] = 25.5;
    reference->levels[ws::HLow][cell] = 30;
    reference->levels[ws::VLow][cell] = 27;
    QCOMPARE(ws::pointerLevels(*newest, *reference, mhz), levels);
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestAxisLabels)
#include "tst_axislabels.moc"
