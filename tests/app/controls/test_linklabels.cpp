#include "SeamRecorder.h"
#include "app/controls/LinkLabels.h"

#include <QTest>

#include <gtest/gtest.h>

using versilla::app::TEmailLabel;
using versilla::app::THttpLabel;

TEST(LinkLabels, LookAndHints) {
    THttpLabel http;
    TEmailLabel mail;
    EXPECT_TRUE(http.font().underline());
    EXPECT_TRUE(mail.font().underline());
    EXPECT_EQ(http.palette().color(QPalette::WindowText), QColor(128, 0, 128));
    EXPECT_EQ(mail.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(http.toolTip(), QStringLiteral("Doppelklick startet den Standard-Browser"));
    EXPECT_EQ(mail.toolTip(), QStringLiteral("Doppelklick startet den Standard-Mail-Client"));
}

TEST(LinkLabels, DoubleClickOpensTheLink) {
    SeamRecorder seams;
    THttpLabel http;
    http.setText(QStringLiteral("www.versilla.example"));
    TEmailLabel mail;
    mail.setText(QStringLiteral("info@versilla.example"));
    http.show();
    mail.show();
    QTest::mouseClick(&http, Qt::LeftButton);
    EXPECT_TRUE(seams.urls.isEmpty()); // a single click does nothing
    QTest::mouseDClick(&http, Qt::LeftButton);
    QTest::mouseDClick(&mail, Qt::LeftButton);
    EXPECT_EQ(seams.urls, (QStringList{"http://www.versilla.example", "MAILTO:info@versilla.example"}));
}

TEST(LinkLabels, HandCursorWhileTheMouseIsOver) {
    THttpLabel http;
    http.setCursor(Qt::IBeamCursor);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&http, &enter);
    EXPECT_EQ(http.cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&http, &leave);
    EXPECT_EQ(http.cursor().shape(), Qt::IBeamCursor);
}
