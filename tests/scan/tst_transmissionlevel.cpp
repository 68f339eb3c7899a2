#include "scan/transmissionlevel.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <random>

using ws::Polarisation;

class TestLevelSums : public QObject
{
    Q_OBJECT

private slots:
    void sumsAreFiveTimesTheRulesLevel_data();
    void sumsAreFiveTimesTheRulesLevel();
};

void TestLevelSums::sumsAreFiveTimesTheRulesLevel_data()
{
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("highest");
    // A level that is no whole number, or sums that do not fit, leave the
    // rule to the general way.
    QTest::addColumn<double>("odd");
    QTest::addColumn<bool>("summed");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("levels as files hold them") << 0.0 << 1000.0 << nan << true;
    QTest::newRow("negative levels") << -40000.0 << 40000.0 << nan << true;
    QTest::newRow("a level with a decimal part") << 0.0 << 1000.0 << 137.5 << false;
    QTest::newRow("a level that is no number") << 0.0 << 1000.0 << nan << false;
    QTest::newRow("sums beyond 32 bits") << 1e6 << 2e6 << 2147483647.0 << false;
}

// On random scans and entries, the sums give exactly what the rule gives
// reading the same levels one by one.
void TestLevelSums::sumsAreFiveTimesTheRulesLevel()
{
    QFETCH(double, lowest);
    QFETCH(double, highest);
    QFETCH(double, odd);
    QFETCH(bool, summed);
    std::mt19937_64 random(37);
    const auto uniform = [&](double a, double b) {
        return std::uniform_real_distribution<double>(a, b)(random);
    };
    const QStringView letters[] = {u"H", u"h", u"V", u"v", u"L", u"R", u"", u"HV"};
    for (int trial = 0; trial < 200; ++trial) {
        const double first = 10700 + double(random() % 20);
        const ws::ScanExtent extent{first + double(random() % 5) - 2,
                                    first + double(random() % 60), random() % 4 != 0,
                                    random() % 4 != 0};
        std::vector<double> levels[2];
        for (int p = 0; p < 2; ++p) {
            const size_t size = random() % 8 == 0 ? 0 : random() % 60;
            for (size_t i = 0; i < size; ++i)
                levels[p].push_back(std::round(uniform(lowest, highest)));
        }
        if (!summed) {
            std::vector<double> &into = levels[0].empty() ? levels[1] : levels[0];
            if (into.empty())
                into.push_back(highest);
            into.insert(into.begin() + std::ptrdiff_t(random() % (into.size() + 1)), odd);
        }
        const std::optional<ws::LevelSums> sums = ws::LevelSums::of(extent, first, levels);
        QCOMPARE(bool(sums), summed);
        if (!sums)
            continue;
        const auto levelAt = [&](Polarisation pol, double f) -> std::optional<double> {
            const std::vector<double> &of = levels[int(pol)];
            const double i = f - first;
            if (!(i >= 0 && i < double(of.size())))
                return std::nullopt;
            return of[size_t(i)];
        };
        for (int e = 0; e < 200; ++e) {
            const double frequency = e == 0 ? std::numeric_limits<double>::quiet_NaN()
                : e % 3 == 0            ? std::floor(uniform(first - 8, first + 70)) + 0.5
                                        : uniform(first - 8, first + 70);
            const QStringView letter = letters[random() % std::size(letters)];
            const std::optional<double> expected =
                ws::transmissionLevel(extent, levelAt, frequency, letter);
            const std::int64_t five = sums->fiveTimesLevel(ws::roundHalfEven(frequency),
                                                           ws::polarisationOfLetter(letter));
            QCOMPARE(five != ws::LevelSums::kNoLevel, bool(expected));
            if (expected)
                QCOMPARE(double(five) / 5, *expected);
        }
    }
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestLevelSums)
#include "tst_transmissionlevel.moc"
