// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "document/saldrixerror.h"

#include <QTest>

#include <stdexcept>

// The one error boundary: whatever a command throws becomes one message, and nothing leaves it.
class tst_ErrorBoundary : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failuresBecomeOneMessage_data();
    void failuresBecomeOneMessage();
    void aFailingReportStaysInside();
};

void tst_ErrorBoundary::failuresBecomeOneMessage_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("ran");
    QTest::addColumn<QStringList>("reports");
    QTest::newRow("no failure") << 0 << true << QStringList();
    QTest::newRow("the project's error") << 1 << false << QStringList { "Unable to write to /d/\u00e4.ini" };
    QTest::newRow("any std::exception") << 2 << false << QStringList { "bad things" };
}

void tst_ErrorBoundary::failuresBecomeOneMessage()
{
    QFETCH(int, kind);
    QFETCH(bool, ran);
    QFETCH(QStringList, reports);
    QStringList reported;
    const bool result = catchErrors(
        [kind] {
            if (kind == 1)
                throw SaldrixError(QStringLiteral("Unable to write to /d/\u00e4.ini"));
            if (kind == 2)
                throw std::runtime_error("bad things");
        },
        [&reported](const QString &message) { reported << message; });
    QCOMPARE(result, ran);
    QCOMPARE(reported, reports);
}

void tst_ErrorBoundary::aFailingReportStaysInside()
{
    const bool result = catchErrors([] { throw SaldrixError(QStringLiteral("first")); },
        [](const QString &) { throw std::runtime_error("second"); });
    QVERIFY(!result);
}

QTEST_GUILESS_MAIN(tst_ErrorBoundary)
#include "tst_errorboundary.moc"
