// Qt's own options, which the command line lets through to the application
// object where a window is made: each is one Qt takes for itself. Its own
// program, as every case makes an application object of its own.
#include "cli/options.h"

#include <QApplication>
#include <QTest>

#include <vector>

using ws::cli::Option;
using ws::cli::OptionGroup;

class TestToolkitOptions : public QObject
{
    Q_OBJECT

private slots:
    void theApplicationTakesEachOfThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("takesValue");
        for (const Option &option : ws::cli::options()) {
            if (option.group == OptionGroup::Toolkit)
                QTest::newRow(option.name) << QString::fromLatin1(option.name)
                                           << (option.valueName != nullptr);
        }
    }

    void theApplicationTakesEachOfThem()
    {
        QFETCH(QString, name);
        QFETCH(bool, takesValue);
        // Read by the X11 platform alone, which the offscreen one leaves be.
        if (QStringList{"display", "geometry", "nograb", "dograb", "sync"}.contains(name))
            QSKIP("an option of the X11 platform");
        // Values that load nothing a test may not have.
        const QByteArray value = name == QLatin1String("platform") ? "offscreen"
                                 : name == QLatin1String("style") ? "Fusion"
                                                                   : "none";
        std::vector<QByteArray> words{"wavesift", "-" + name.toLatin1()};
        if (takesValue)
            words.push_back(value);
        if (name != QLatin1String("platform"))
            words.insert(words.end(), {"-platform", "offscreen"});
        std::vector<char *> argv;
        for (QByteArray &word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        int argc = int(words.size());
        {
            QApplication app(argc, argv.data());
        }
        // What it took is gone from the arguments.
        QCOMPARE(argc, 1);
    }
};

int main(int argc, char *argv[])
{
    TestToolkitOptions test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_toolkitoptions.moc"
