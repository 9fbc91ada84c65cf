#include <QTest>
class Ormel2FormTest : public QObject { Q_OBJECT };
QTEST_MAIN(Ormel2FormTest)
#include "Ormel2FormTest.moc"
