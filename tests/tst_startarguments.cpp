#include "RawArguments.h"
#include "TestHome.h"

#include "app/StartArguments.h"
#include "base/LocalPath.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QTest>

#include <cstdio>

Q_DECLARE_METATYPE(StartArguments::Action)

// morvane's command line: what it lists, and what it answers without a window.
class StartArgumentsTest : public QObject
{
    Q_OBJECT

private:
    // Replaces %1 with the test's home folder.
    QStringList inHome(QStringList lines) const
    {
        for (QString& line : lines)
            line.replace("%1", m_home.path());
        return lines;
    }

    static QProcessEnvironment withoutDisplay()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        return environment;
    }

    TestHome m_home;
    QByteArray m_latin1; // a picture whose name is not valid UTF-8, below the home folder

private slots:
    void initTestCase();
    void cleanupTestCase();

    void readsOptionsAndFiles_data();
    void readsOptionsAndFiles();
    void answersWithoutADisplay_data();
    void answersWithoutADisplay();
    void programListsTheFilesItIsGiven();
};

void StartArgumentsTest::initTestCase()
{
    QVERIFY(m_home.enter());
    QVERIFY(QDir(m_home.path()).mkdir("photos"));
    m_latin1 = pathToLocal(m_home.path()) + "/photos/lat\xedn.jpg";
    for (const QByteArray& path :
         {pathToLocal(m_home.filePath("photos/a.jpg")),
          pathToLocal(m_home.filePath("photos/IMG_0001.HEIC")), m_latin1}) {
        std::FILE* file = std::fopen(path.constData(), "w");
        QVERIFY(file);
        std::fclose(file);
    }
}

void StartArgumentsTest::cleanupTestCase()
{
    // QDir cannot remove a name that is not valid UTF-8.
    std::remove(m_latin1.constData());
}

void StartArgumentsTest::readsOptionsAndFiles_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<StartArguments::Action>("action");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("pictures");  // %1 stands for the home folder
    QTest::addColumn<QStringList>("notListed"); // likewise

    using Action = StartArguments::Action;
    QTest::newRow("nothing") << QStringList{} << Action::Run << QString() << QStringList{}
                             << QStringList{};
    QTest::newRow("relative and absolute")
        << QStringList{"photos/a.jpg", m_home.filePath("photos/./a.jpg"), "x/../photos/a.jpg"}
        << Action::Run << QString()
        << QStringList{"%1/photos/a.jpg", "%1/photos/a.jpg", "%1/photos/a.jpg"} << QStringList{};
    QTest::newRow("a phone's HEIC")
        << QStringList{"photos/IMG_0001.HEIC"} << Action::Run << QString()
        << QStringList{"%1/photos/IMG_0001.HEIC"} << QStringList{};
    QTest::newRow("name not valid utf-8")
        << QStringList{pathFromLocal("photos/lat\xedn.jpg")} << Action::Run << QString()
        << QStringList{"%1/" + pathFromLocal("photos/lat\xedn.jpg")} << QStringList{};
    QTest::newRow("folder and missing file")
        << QStringList{"photos", "gone.jpg", "photos/a.jpg"} << Action::Run << QString()
        << QStringList{"%1/photos/a.jpg"}
        << QStringList{"%1/photos: is a folder", "%1/gone.jpg: no such file"};
    QTest::newRow("after --, options are files")
        << QStringList{"--", "--help", "-"} << Action::Run << QString() << QStringList{}
        << QStringList{"%1/--help: no such file", "%1/-: no such file"};
    QTest::newRow("unknown option")
        << QStringList{"photos/a.jpg", "--bogus", "--worse"} << Action::Run
        << "unknown option --bogus" << QStringList{"%1/photos/a.jpg"} << QStringList{};
    QTest::newRow("help wins over everything")
        << QStringList{"-platform", "offscreen", "--version", "--help"} << Action::ShowHelp
        << "unknown option -platform" << QStringList{} << QStringList{"%1/offscreen: no such file"};
    QTest::newRow("version") << QStringList{"--version", "photos/a.jpg"} << Action::ShowVersion
                             << QString() << QStringList{"%1/photos/a.jpg"} << QStringList{};
}

void StartArgumentsTest::readsOptionsAndFiles()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, pictures);
    QFETCH(QStringList, notListed);
    const StartArguments parsed(arguments);
    QTEST(parsed.action(), "action");
    QTEST(parsed.error(), "error");
    QCOMPARE(parsed.pictures(), inHome(pictures));
    QCOMPARE(parsed.notListed(), inHome(notListed));
}

void StartArgumentsTest::answersWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("firstLine");

    QTest::newRow("help") << QStringList{"--help"} << "Usage: morvane [FILE]...";
    QTest::newRow("version") << QStringList{"--version"} << "morvane " MORVANE_VERSION;
    QTest::newRow("version among files")
        << QStringList{"photos/a.jpg", "--version"} << "morvane " MORVANE_VERSION;
}

void StartArgumentsTest::answersWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QProcess program;
    program.setProcessEnvironment(withoutDisplay());
    program.start(QStringLiteral(MORVANE_PATH), arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QTEST(QString::fromUtf8(program.readAllStandardOutput()).section(u'\n', 0, 0), "firstLine");
}

// Through the real command line: the picture whose name is not UTF-8 is found and listed,
// which stores its folder for the next Add; the missing file is named on standard error.
void StartArgumentsTest::programListsTheFilesItIsGiven()
{
    QSettings("Quarnel").clear();
    QSettings("Quarnel").sync();
    QProcess program;
    // -platform alone says where the window goes.
    program.setProcessEnvironment(withoutDisplay());
    program.setWorkingDirectory(m_home.path());
    startWithBytes(program, QStringLiteral(MORVANE_PATH),
                   {"-platform", "offscreen", "photos/lat\xedn.jpg", "photos/gone.jpg"});
    const auto stop = qScopeGuard([&] {
        program.kill();
        program.waitForFinished(30000);
    });
    QVERIFY(program.waitForStarted(30000));
    QTRY_COMPARE_WITH_TIMEOUT(QSettings("Quarnel").value("CommonFilePath").toString(),
                              m_home.filePath("photos/"), 20000);
    // Written before the window came up; Qt may have warned about the environment around it.
    const QString missing = "morvane: " + m_home.filePath("photos/gone.jpg") + ": no such file";
    QString errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += QString::fromUtf8(program.readAllStandardError()),
                              errors.split(u'\n').contains(missing)),
                             20000);
}

QTEST_GUILESS_MAIN(StartArgumentsTest)
#include "tst_startarguments.moc"
