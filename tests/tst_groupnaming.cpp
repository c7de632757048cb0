#include "imaging/GroupNaming.h"

#include <QTest>

// The names a run gives its pictures, as typed and web-safe.
class GroupNamingTest : public QObject
{
    Q_OBJECT

private slots:
    void makesPrefixesWebSafe_data();
    void makesPrefixesWebSafe();
    void numbersAsWideAsTheLargest_data();
    void numbersAsWideAsTheLargest();
    void groupsCountApart();
};

void GroupNamingTest::makesPrefixesWebSafe_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("safe");

    // clang-format off
    QTest::newRow("plain") << "beach" << "beach";
    QTest::newRow("accents and blanks") << "Été à Paris" << "ete-a-paris";
    QTest::newRow("capitals") << "NewYork" << "newyork";
    QTest::newRow("sharp s") << "Straße" << "strasse";
    QTest::newRow("capital sharp s") << "STRAẞE" << "strasse";
    QTest::newRow("letters without decomposition") << "Ærø Łódź Œuvre" << "aero-lodz-oeuvre";
    QTest::newRow("decomposed input") << QStringLiteral("Cafe\u0301") << "cafe";
    QTest::newRow("ligature and full width") << "ﬁsh Ｂay" << "fish-bay";
    QTest::newRow("digits and underscore stay") << "day_2" << "day_2";
    QTest::newRow("typed hyphens stay single") << "a-b--c" << "a-b-c";
    QTest::newRow("a run of others is one hyphen") << "rock & roll" << "rock-roll";
    QTest::newRow("none at the start") << "  ¡Hola" << "hola";
    QTest::newRow("one at the end sets the number apart") << "Paris 2024 " << "paris-2024-";
    QTest::newRow("other scripts") << "東京 trip" << "trip";
    QTest::newRow("emoji") << QStringLiteral("sun\U0001F31E") << "sun-";
    QTest::newRow("dots and quotes") << "Jo's v1.2" << "jo-s-v1-2";
    QTest::newRow("nothing left") << "???" << "";
    QTest::newRow("empty") << "" << "";
    // clang-format on
}

void GroupNamingTest::makesPrefixesWebSafe()
{
    QFETCH(QString, prefix);
    QTEST(webSafePrefix(prefix), "safe");
    for (const QChar c : webSafePrefix(prefix))
        QVERIFY(c.isDigit() || (c >= u'a' && c <= u'z') || c == u'-' || c == u'_');
}

void GroupNamingTest::numbersAsWideAsTheLargest_data()
{
    QTest::addColumn<bool>("webSafe");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");

    // clang-format off
    QTest::newRow("9") << true << 9 << "g01" << "g09";
    QTest::newRow("99") << true << 99 << "g01" << "g99";
    QTest::newRow("100") << true << 100 << "g001" << "g100";
    QTest::newRow("120") << true << 120 << "g001" << "g120";
    QTest::newRow("1000") << true << 1000 << "g0001" << "g1000";
    QTest::newRow("as typed, 9") << false << 9 << "G01" << "G09";
    QTest::newRow("as typed, 120") << false << 120 << "G01" << "G120";
    // clang-format on
}

void GroupNamingTest::numbersAsWideAsTheLargest()
{
    QFETCH(bool, webSafe);
    QFETCH(int, pictures);
    GroupNaming naming({"G", "", "", "", ""}, webSafe);
    for (int i = 0; i < pictures; ++i)
        naming.count(1);
    QStringList names;
    for (int i = 0; i < pictures; ++i)
        names << naming.next(1);
    QTEST(names.first(), "first");
    QTEST(names.last(), "last");
    QStringList sorted = names;
    sorted.sort();
    // Web-safe names sort as they are numbered, whatever sorts them.
    if (webSafe)
        QCOMPARE(sorted, names);
}

void GroupNamingTest::groupsCountApart()
{
    GroupNaming naming({"Été", "city", "", "", "x"}, true);
    for (int i = 0; i < 100; ++i)
        naming.count(1);
    naming.count(2);
    naming.count(5);
    QCOMPARE(naming.next(1), QStringLiteral("ete001"));
    QCOMPARE(naming.next(2), QStringLiteral("city01"));
    QCOMPARE(naming.next(1), QStringLiteral("ete002"));
    QCOMPARE(naming.next(5), QStringLiteral("x01"));
    QCOMPARE(naming.next(3), QStringLiteral("01"));
}

QTEST_APPLESS_MAIN(GroupNamingTest)
#include "tst_groupnaming.moc"
