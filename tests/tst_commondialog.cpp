#include "shell/clscommondialog.h"
#include "shell/hexfunctions.h"
#include "testsupport.h"

#include <QTest>

#include <cerrno>

using namespace TestSupport;

static const QChar Nul(u'\0');

class CommonDialogTest : public QObject {
    Q_OBJECT
private slots:
    void convertFilter_data()
    {
        QTest::addColumn<QString>("filter"); QTest::addColumn<QString>("converted");
        QTest::newRow("pair") << "a|b" << QString("a") + Nul + "b" + Nul;
        QTest::newRow("closed pair") << "a|b|" << QString("a") + Nul + "b" + Nul;
        QTest::newRow("empty") << "" << QString(Nul);
        QTest::newRow("all files") << "All Files (*.*)|*.*|" << QString("All Files (*.*)") + Nul + "*.*" + Nul;
    }
    void convertFilter() { QFETCH(QString, filter); QFETCH(QString, converted); QCOMPARE(clsCommonDialog::convertFilter(filter), converted); }

    void showOpen()
    {
        clsCommonDialog dlg;
        QVERIFY(dlg.FilterIndex() == 0 && dlg.lastPath().isEmpty());
        ScriptedChooser chooser;
        const QString path = "/roms/game.nds", title = "Open Zorvani NDS ROM...", longPath = "/" + QString(310, 'x') + ".nds";
        chooser.choose(path, 2), chooser.cancel(), chooser.choose(longPath, 1);
        QCOMPARE(dlg.ShowOpen(nullptr, title, "/roms", "NDS ROMs (*.nds)|*.nds", 6148), path);
        const Platform::FileRequest &rq = chooser.requests.at(0);
        QVERIFY(!rq.save && rq.title == title && rq.initialDir == "/roms" && rq.flags == 6148);
        QCOMPARE(rq.filters, (QList<QPair<QString, QString>>{{"NDS ROMs (*.nds)", "*.nds"}}));
        QVERIFY(dlg.FilterIndex() == 2 && dlg.lastPath() == path);
        QVERIFY(dlg.record().lStructSize == 76 && dlg.record().nMaxFile == 255);
        QCOMPARE(dlg.record().lpstrFile, path + Nul + QString(254 - path.size() - 1, ' '));

        QCOMPARE(dlg.ShowOpen(nullptr, title), QString()); // cancelled: keeps path and filter
        QVERIFY(chooser.requests.at(1).initialDir == path && dlg.lastPath() == path && dlg.FilterIndex() == 2);
        QCOMPARE(dlg.ShowOpen(nullptr, title), longPath);
        QCOMPARE(dlg.record().lpstrFile, longPath + Nul);
        QVERIFY(chooser.requests.at(2).initialDir == path && dlg.lastPath() == longPath && dlg.FilterIndex() == 1);
    }

    void showSave()
    {
        clsCommonDialog dlg;
        ScriptedChooser chooser; // its end puts the guard back
        chooser.choose("/roms/game.nds");
        QVERIFY(!dlg.ShowOpen(nullptr, "open").isEmpty());
        QString buffer;
        Platform::FileRequest request;
        Platform::setFileChooser([&](const Platform::FileRequest &rq) {
            buffer = dlg.record().lpstrFile, request = rq;
            return Platform::FileAnswer{true, QString("/out/evo.gpl") + Nul + "rest", 1};
        });
        QCOMPARE(dlg.ShowSave(nullptr, "Save", "abc"), "/out/evo.gpl");
        QCOMPARE(buffer, "abc" + QString(125, Nul));
        QVERIFY(request.save && request.fileName == "abc" && request.defaultExtension == ".gpl");
        QVERIFY(dlg.record().nMaxFile == 128 && dlg.record().lpstrDefExt == ".gpl");
        QCOMPARE(dlg.lastPath(), "/roms/game.nds");
    }

    void fileErrorBox()
    {
        TestRom rom(64);
        MessageRecorder messages;
        const QString missing = rom.dir() + "/absent.nds", missingText = HexCore::readBytes(missing, 0, 2).error.description;
        QCOMPARE(HexFunctions::ReadHexBytes(missing, 0, 2), QString());
        QVERIFY(!HexFunctions::WriteHexBytes(missing, 0, "AB"));
        QCOMPARE(HexFunctions::ReadHexBytes(rom.path(), 63, 2), QString());
        QCOMPARE(messages.boxes.size(), 3);
        const QString enoent = "Error: " + QString::number(ENOENT);
        QVERIFY(!missingText.isEmpty());
        for (int i = 0; i < 2; ++i)
            QVERIFY(messages.boxes[i].title == enoent && messages.boxes[i].text == missingText);
        QVERIFY(messages.boxes[2].title == "Error: 1062" && messages.boxes[2].text.contains("too short"));

        QVERIFY(HexFunctions::WriteHexBytes(rom.path(), 62, "7F"));
        QCOMPARE(HexFunctions::ReadHexBytes(rom.path(), 62, 2), "7F00");
        QCOMPARE(rom.read(62, 2), QByteArray("\x7F\x00", 2));
        QCOMPARE(messages.boxes.size(), 3); // no box on success
    }
};

QTEST_MAIN(CommonDialogTest)
#include "tst_commondialog.moc"
