// Where a save may go and what a failing disk leaves behind. Other owners,
// devices, read-only folders and a full disk come from a tweaked file system.
#include "core/savefile.h"

#include <QTest>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

class TweakedFiles : public ws::FileSystem
{
public:
    ws::PathFacts facts(const QString &path) override
    {
        ws::PathFacts facts = FileSystem::facts(path);
        facts.owner = owners.value(path, facts.owner);
        if (path.endsWith("/device"))
            facts.kind = ws::PathFacts::Kind::Device;
        if (path.endsWith("/locked"))
            facts.writable = false;
        return facts;
    }
    uint user() override { return 333; }
    QString write(QFileDevice &file, const QByteArray &bytes) override
    {
        if (fullAfter < 0)
            return FileSystem::write(file, bytes);
        file.write(bytes.left(fullAfter));
        file.flush();
        return qt_error_string(ENOSPC);
    }

    QHash<QString, uint> owners;
    qsizetype fullAfter = -1;
};

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

class TestSaveFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void targetsAreCheckedAndResolved_data();
    void targetsAreCheckedAndResolved();
    void replacesWholeOrNotAtAll();

private:
    QString at(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir;
    TweakedFiles files;
};

void TestSaveFile::initTestCase()
{
#ifndef Q_OS_UNIX
    QSKIP("links, pipes and shared folders as the POSIX systems have them");
#else
    QVERIFY(put(at("plain.txt"), "old") && put(at("device"), "old"));
    for (const char *folder : {"folder", "locked", "shared"})
        QVERIFY(QDir(dir.path()).mkdir(folder));
    QCOMPARE(::mkfifo(QFile::encodeName(at("fifo")).constData(), 0600), 0);
    QCOMPARE(::chmod(QFile::encodeName(at("shared")).constData(), 01777), 0);
    const QList<QPair<const char *, QString>> links = {
        {"link", "plain.txt"},        {"shared/mine", at("plain.txt")},
        {"shared/owners", "../plain.txt"}, {"shared/theirs", at("plain.txt")},
        {"shared/theirdir", at("folder")}, {"pipelink", "fifo"}};
    for (const auto &[name, target] : links)
        QVERIFY(QFile::link(target, at(name)));
    // The user is 333, the shared folder's owner 222.
    files.owners = {{at("shared"), 222},        {at("shared/mine"), 333},
                    {at("shared/owners"), 222}, {at("shared/theirs"), 111},
                    {at("shared/theirdir"), 111}};
#endif
}

void TestSaveFile::targetsAreCheckedAndResolved_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("resolved"); // empty when refused
    QTest::addColumn<QString>("refusal");  // with %1 for the temporary folder
    const QString notOrdinary = QStringLiteral("it is a %1, not an ordinary file");
    QTest::newRow("new file") << "new.txt" << "new.txt" << "";
    QTest::newRow("folder") << "folder" << "" << notOrdinary.arg("folder");
    QTest::newRow("named pipe") << "fifo" << "" << notOrdinary.arg("named pipe");
    QTest::newRow("device") << "device" << "" << notOrdinary.arg("device");
    QTest::newRow("missing folder") << "gone/new.txt" << "" << "the folder %1/gone does not exist";
    QTest::newRow("read-only folder") << "locked/new.txt" << ""
                                      << "the folder %1/locked cannot be written to";
    QTest::newRow("link") << "link" << "plain.txt" << "";
    QTest::newRow("link to a pipe") << "pipelink" << "" << notOrdinary.arg("named pipe");
    QTest::newRow("shared folder, the user's link") << "shared/mine" << "plain.txt" << "";
    QTest::newRow("shared folder, its owner's link") << "shared/owners" << "plain.txt" << "";
    const QString planted = QStringLiteral("%1/shared/%2 is a link in the shared folder "
                                           "%1/shared that belongs neither to you nor to the "
                                           "folder's owner; it is not followed");
    QTest::newRow("shared folder, another's link") << "shared/theirs" << "" << planted.arg("%1", "theirs");
    QTest::newRow("shared folder, another's link on the way")
        << "shared/theirdir/new.txt" << "" << planted.arg("%1", "theirdir");
}

void TestSaveFile::targetsAreCheckedAndResolved()
{
    QFETCH(QString, path);
    QFETCH(QString, resolved);
    QFETCH(QString, refusal);
    const ws::SaveTarget target = ws::checkSaveTarget(at(path), files);
    QCOMPARE(target.refusal, refusal.isEmpty() ? QString() : refusal.arg(dir.path()));
    if (!resolved.isEmpty())
        QCOMPARE(target.path, at(resolved));
}

void TestSaveFile::replacesWholeOrNotAtAll()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("results.txt");
    QVERIFY(put(path, "a longer old text"));
    const auto rights = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path, rights));
    QCOMPARE(ws::saveWhole(path, "old", files), QString());
    QCOMPARE(contentOf(path), QByteArray("old"));
    QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), rights);

    // A disk full part way leaves the old file and nothing half-written.
    TweakedFiles full;
    full.fullAfter = 5;
    QCOMPARE(ws::saveWhole(path, QByteArray(10000, 'x'), full),
             QStringLiteral("No space left on device"));
    QCOMPARE(contentOf(path), QByteArray("old"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"results.txt"});
}

#include "support/testrunner.h"
WS_TEST_CLASS(TestSaveFile)
#include "tst_savefile.moc"
