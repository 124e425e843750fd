#include "shell/form1.h"
#include "testsupport.h"
#include <QTest>
class Smoke : public QObject { Q_OBJECT private slots: void opens() { Form1 f; f.show(); QVERIFY(QTest::qWaitForWindowExposed(&f)); } };
QTEST_MAIN(Smoke)
#include "tst_smoke.moc"
