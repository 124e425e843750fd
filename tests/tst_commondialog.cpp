#include "shell/clscommondialog.h"
#include "shell/filechooser.h"
#include "shell/hexfunctions.h"
#include "testsupport.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>

using namespace TestSupport;
using namespace Platform::FileFlag;

static const QChar Nul(u'\0');

namespace {

constexpr int OpenRomFlags = HideReadOnly | PathMustExist | FileMustExist;

// "description, pattern, description, pattern..." as filter pairs.
QList<QPair<QString, QString>> pairsOf(const QStringList &texts)
{
    QList<QPair<QString, QString>> pairs;
    for (qsizetype i = 0; i + 1 < texts.size(); i += 2)
        pairs.append({texts[i], texts[i + 1]});
    return pairs;
}

Platform::FileRequest requestFor(bool save, int flags, const QStringList &filters = {}, int filterIndex = 0)
{
    Platform::FileRequest request;
    request.save = save;
    request.title = QStringLiteral("Choose a file");
    request.flags = flags;
    request.filters = pairsOf(filters);
    request.filterIndex = filterIndex;
    return request;
}

// One field of every request the chooser received, in order.
QList<int> requested(const ScriptedChooser &chooser, int Platform::FileRequest::*field)
{
    QList<int> values;
    for (const auto &request : chooser.requests)
        values.append(request.*field);
    return values;
}

// Closes and records any box that Qt's own dialog opens, so that no test waits on one.
class QtBoxCloser {
public:
    QtBoxCloser()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { closeBoxes(); });
        m_timer.start(0);
    }
    QStringList texts;

private:
    void closeBoxes()
    {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(window);
            if (box == nullptr || !box->isVisible())
                continue;
            texts.append(box->text());
            box->reject();
        }
    }
    QTimer m_timer;
};

} // namespace

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

    // Blanks and non-ASCII letters are part of a file name: the chooser's answer comes back whole.
    void showOpenKeepsPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("blank at the end") << "/roms/x.nds ";
        QTest::newRow("two blanks at the end") << "/roms/x.nds  ";
        QTest::newRow("two blanks inside") << "/roms/x  y.nds";
        QTest::newRow("non-ASCII letters") << QStringLiteral("/röms/Zörvani Ünit.nds");
    }
    void showOpenKeepsPath()
    {
        QFETCH(QString, path);
        clsCommonDialog dlg;
        ScriptedChooser chooser;
        chooser.choose(path);
        chooser.cancel();
        QCOMPARE(dlg.ShowOpen(nullptr, "Open"), path);
        QCOMPARE(dlg.lastPath(), path);
        QCOMPARE(dlg.record().lpstrFile, path + Nul + QString(254 - path.size() - 1, ' '));
        QCOMPARE(dlg.ShowOpen(nullptr, "Open"), QString());
        QCOMPARE(dlg.lastPath(), path);
        QCOMPARE(chooser.requests.at(1).initialDir, path);
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

    void requestCarriesFlagsAndFilterIndex()
    {
        clsCommonDialog dlg;
        ScriptedChooser chooser;
        chooser.choose("/roms/a.a", 2);
        chooser.cancel();
        chooser.choose("/roms/c.c", 3);
        chooser.cancel();
        const QString filter = "A|*.a|B|*.b|C|*.c";
        QCOMPARE(dlg.ShowOpen(nullptr, "Open", QString(), filter, OpenRomFlags), "/roms/a.a");
        QCOMPARE(dlg.ShowOpen(nullptr, "Open", QString(), filter, PathMustExist), QString());
        QCOMPARE(dlg.ShowOpen(nullptr, "Open", QString(), filter, 0), "/roms/c.c");
        QCOMPARE(dlg.ShowSave(nullptr, "Save", "c", QString(), filter, OverwritePrompt), QString());
        QCOMPARE(requested(chooser, &Platform::FileRequest::filterIndex), (QList<int>{0, 2, 2, 3}));
        QCOMPARE(requested(chooser, &Platform::FileRequest::flags), (QList<int>{OpenRomFlags, PathMustExist, 0, OverwritePrompt}));
    }

    void dialogModes_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<bool>("dontConfirmOverwrite");
        QTest::newRow("open rom") << false << OpenRomFlags << int(QFileDialog::ExistingFile) << false;
        QTest::newRow("open, none") << false << 0 << int(QFileDialog::AnyFile) << false;
        QTest::newRow("open, path must exist") << false << PathMustExist << int(QFileDialog::AnyFile) << false;
        QTest::newRow("save, none") << true << 0 << int(QFileDialog::AnyFile) << true;
        QTest::newRow("save, prompt") << true << OverwritePrompt << int(QFileDialog::AnyFile) << false;
        QTest::newRow("save, rom flags") << true << OpenRomFlags << int(QFileDialog::ExistingFile) << true;
    }
    void dialogModes()
    {
        QFETCH(bool, save);
        QFETCH(int, flags);
        QFETCH(int, fileMode);
        QFETCH(bool, dontConfirmOverwrite);
        const QFileDialog::Options options = dontConfirmOverwrite ? QFileDialog::DontConfirmOverwrite : QFileDialog::Options();
        FileChooserDialog dialog(requestFor(save, flags));
        QCOMPARE(dialog.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        QCOMPARE(int(dialog.fileMode()), fileMode);
        QCOMPARE(dialog.options(), QFileDialog::DontUseNativeDialog | options);
    }

    void nameFilters_data()
    {
        QTest::addColumn<QStringList>("pairs");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("described pattern") << QStringList{"NDS ROMs (*.nds)", "*.nds"} << QStringList{"NDS ROMs (*.nds)"};
        QTest::newRow("other parentheses") << QStringList{"Text files (plain)", "*.txt"} << QStringList{"Text files (plain) (*.txt)"};
        QTest::newRow("other pattern described") << QStringList{"ROMs (*.gba)", "*.nds"} << QStringList{"ROMs (*.gba) (*.nds)"};
        QTest::newRow("all files") << QStringList{"All Files (*.*)", "*.*"} << QStringList{"All Files (*.*)"};
        QTest::newRow("two patterns") << QStringList{"Parts", "*.a;*.b"} << QStringList{"Parts (*.a *.b)"};
        QTest::newRow("three pairs") << QStringList{"NDS ROMs (*.nds)", "*.nds", "Text files (plain)", "*.txt", "All Files (*.*)", "*.*"}
                                     << QStringList{"NDS ROMs (*.nds)", "Text files (plain) (*.txt)", "All Files (*.*)"};
    }
    void nameFilters()
    {
        QFETCH(QStringList, pairs);
        QFETCH(QStringList, shown);
        FileChooserDialog dialog(requestFor(false, OpenRomFlags, pairs));
        QCOMPARE(dialog.nameFilters(), shown);
    }

    void preselectedFilter_data()
    {
        QTest::addColumn<QStringList>("pairs");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("selected");
        const QStringList three{"NDS ROMs", "*.nds", "Text files", "*.txt", "All Files (*.*)", "*.*"};
        QTest::newRow("second of three") << three << 2 << 2;
        QTest::newRow("none") << three << 0 << 1;
        QTest::newRow("past the last") << three << 4 << 1;
        QTest::newRow("negative") << three << -1 << 1;
    }
    void preselectedFilter()
    {
        QFETCH(QStringList, pairs);
        QFETCH(int, index);
        QFETCH(int, selected);
        TestRom rom(64);
        FileChooserDialog dialog(requestFor(false, OpenRomFlags, pairs, index));
        QCOMPARE(dialog.selectedNameFilter(), dialog.nameFilters().at(selected - 1));
        dialog.selectFile(rom.path());
        dialog.accept();
        QCOMPARE(dialog.answer().filterIndex, selected);
    }

    void preselectedFilterKeepsProposedName()
    {
        Platform::FileRequest request = requestFor(true, OverwritePrompt, {"Tables", "*.gpl", "Text", "*.txt"}, 2);
        request.fileName = QStringLiteral("evo.gpl");
        FileChooserDialog dialog(request);
        QCOMPARE(dialog.selectedNameFilter(), "Text (*.txt)");
        QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).fileName(), "evo.gpl");
    }

    // A refused path keeps the dialog open with one box: ours, or Qt's own for a missing file.
    void pathMustExist_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("qtBoxes");
        QTest::newRow("open, missing folder") << false << PathMustExist << false << 1 << 0;
        QTest::newRow("save, missing folder") << true << (OverwritePrompt | PathMustExist) << false << 1 << 0;
        QTest::newRow("open, missing folder, no flags") << false << 0 << false << 0 << 0;
        QTest::newRow("save, missing folder, no flags") << true << 0 << false << 0 << 0;
        QTest::newRow("open, existing folder") << false << PathMustExist << true << 0 << 0;
        QTest::newRow("save, existing folder") << true << (OverwritePrompt | PathMustExist) << true << 0 << 0;
        QTest::newRow("open rom, missing folder") << false << OpenRomFlags << false << 0 << 1;
    }
    void pathMustExist()
    {
        QFETCH(bool, save);
        QFETCH(int, flags);
        QFETCH(bool, folderExists);
        QFETCH(int, boxes);
        QFETCH(int, qtBoxes);
        const bool accepted = boxes + qtBoxes == 0;
        QTemporaryDir root;
        const QString path = root.filePath(folderExists ? "new.bin" : "missing/new.bin");
        MessageRecorder messages;
        QtBoxCloser qtBoxCloser;
        Platform::FileRequest request = requestFor(save, flags);
        request.initialDir = root.path();
        FileChooserDialog dialog(request);
        dialog.selectFile(path);
        dialog.show();
        dialog.accept();
        QCOMPARE(qtBoxCloser.texts.size(), qtBoxes);
        QCOMPARE(messages.boxes.size(), boxes);
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(dialog.isVisible(), !accepted);
        QCOMPARE(dialog.answer().path, accepted ? path : QString());
        for (const auto &box : messages.boxes) {
            QCOMPARE(box.title, dialog.windowTitle());
            QVERIFY(box.text.contains(path));
        }
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
