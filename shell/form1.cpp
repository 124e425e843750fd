#include "shell/form1.h"

#include "shell/clscommondialog.h"
#include "shell/controls.h"
#include "shell/gamedata.h"
#include "shell/platform.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QFontDatabase>
#include <QImageReader>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <map>
#include <vector>

namespace {

// Client area drawn with the background picture at its own size from the
// top-left corner. Only the part that shows is decoded, once for the program.
class FormSurface : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        static const QImage picture = [] {
            QImageReader reader(QStringLiteral(":/background.jpg"));
            reader.setClipRect(QRect(0, 0, 724, 576));
            return reader.read();
        }();
        QPainter painter(this);
        painter.drawImage(0, 0, picture);
    }
};

enum class Face { Form, Region, List, Caption, GameCode, Signature, Button };

QFont faceFont(Face face)
{
    // Looked up once for the program: asking the font system for a missing
    // family again on every window costs more than the window itself.
    static std::map<Face, QFont> chosen;
    if (const auto it = chosen.find(face); it != chosen.end())
        return it->second;

    struct FontStyle { Face face; QStringList families; double points; bool bold; bool italic; };
    static const std::vector<FontStyle> fonts = {
        {Face::Form, {"Palatino Linotype", "P052", "Palatino"}, 18, true, true},
        {Face::Region, {"Times New Roman", "Liberation Serif"}, 15.75, true, true},
        {Face::List, {"Tahoma", "Liberation Sans", "DejaVu Sans"}, 8.25, false, false},
        {Face::Caption, {"Times New Roman", "Liberation Serif"}, 15.75, true, true},
        {Face::GameCode, {"Tahoma", "Liberation Sans", "DejaVu Sans"}, 18, true, true},
        {Face::Signature, {"Monotype Corsiva", "Z003", "URW Chancery L"}, 20.25, true, true},
        {Face::Button, {"Times New Roman", "Liberation Serif"}, 14.25, true, true},
    };
    const auto &style = *std::find_if(fonts.begin(), fonts.end(), [face](const FontStyle &f) { return f.face == face; });
    QFont font;
    // The first family this desktop has; none of them: the desktop's default.
    const auto family = std::find_if(style.families.begin(), style.families.end(),
                                     [](const QString &name) { return QFontDatabase::hasFamily(name); });
    if (family != style.families.end())
        font.setFamily(*family);
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    return chosen[face] = font;
}

// Colours as stored: 0x00BBGGRR.
QColor storedColour(quint32 bbggrr)
{
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

// Place of a control in twips (15 to a pixel), its face, back colour (0 for
// the default) and tab order (-1 for labels, which take no focus).
struct ControlPlace {
    QWidget *widget;
    const char *name;
    int left, top, width, height;
    Face face;
    quint32 backColour;
    int tabIndex;
};

int pixels(int twips)
{
    return (twips + 7) / 15;
}

} // namespace

Form1::Form1(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Zorvani veltrium level editor v 2.00 "));
    setWindowIcon(QIcon(QStringLiteral(":/icon.ico")));
    buildControls();
    buildMenus();
    // Fixed size: the client area is 724 x 576 below the menu bar.
    centralWidget()->setFixedSize(724, 576);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Command->setFocus();
}

void Form1::buildControls()
{
    auto *surface = new FormSurface(this);
    surface->setObjectName(QStringLiteral("Form1Surface"));
    // The form's own font, which no control shows; the lists and pickers take
    // theirs from the client area, so that none of them is laid out twice.
    setFont(faceFont(Face::Form));
    surface->setFont(faceFont(Face::List));
    setCentralWidget(surface);

    const auto option = [surface](const QString &caption) { return new OptionButton(caption, surface); };
    Option1 = option(QStringLiteral("Drava Region"));
    Option2 = option(QStringLiteral("Ostin Region"));
    Option3 = option(QStringLiteral("Merek Region"));
    Option4 = option(QStringLiteral("Tavrin Region"));
    auto *regions = new QButtonGroup(this);
    int id = 1;
    for (QRadioButton *button : {Option1, Option2, Option3, Option4}) {
        regions->addButton(button, id++);
        button->setEnabled(false);
    }

    List1 = new ListBox(surface);
    List2 = new ListBox(surface);
    List3 = new ListBox(surface);
    List4 = new ListBox(surface);
    for (int region = 1; region <= 4; ++region)
        regionList(region)->hide();

    Combo1 = new DropDown(surface);
    Combo2 = new DropDown(surface);
    Combo3 = new DropDown(surface);
    Combo4 = new DropDown(surface);
    Combo5 = new DropDown(surface);
    Combo6 = new DropDown(surface);
    Combo1->setEnabled(false);
    Combo6->setEnabled(false);
    for (DropDown *picker : {Combo2, Combo3, Combo4, Combo5})
        picker->hide();

    const auto label = [surface](const QString &caption) { return new QLabel(caption, surface); };
    Label3 = label(QStringLiteral("Evol Type !"));
    Label1 = label(QStringLiteral("Level !"));
    Label2 = label(QStringLiteral("Item Used !"));
    Label4 = label(QStringLiteral("Zoravni !"));
    Label5 = label(QStringLiteral("Attack  !"));
    Label6 = label(QStringLiteral("Evolution To !"));
    Label55 = label(QStringLiteral("Game Code = JRWA"));
    Label44 = label(QStringLiteral("kestrovanelle"));

    Command = new CommandButton(QStringLiteral("Save"), surface);

    const ControlPlace controls[] = {
        {Option1, "Option1", 105, 360, 2175, 495, Face::Region, 0x008080FF, 0},
        {Option2, "Option2", 105, 1110, 2175, 495, Face::Region, 0x008080FF, 20},
        {Option3, "Option3", 105, 1880, 2250, 495, Face::Region, 0x008080FF, 16},
        {Option4, "Option4", 105, 2640, 2295, 495, Face::Region, 0x008080FF, 17},
        {List1, "List1", 7920, 0, 2895, 7665, Face::List, 0, 1},
        {List2, "List2", 7920, 0, 2895, 7665, Face::List, 0, 15},
        {List3, "List3", 7920, 0, 2895, 7665, Face::List, 0, 18},
        {List4, "List4", 7920, 0, 2895, 7665, Face::List, 0, 19},
        {Combo1, "Combo1", 5025, 45, 2415, 315, Face::List, 0, 2},
        {Combo2, "Combo2", 5040, 840, 2415, 315, Face::List, 0, 3},
        {Combo3, "Combo3", 5025, 1635, 2415, 315, Face::List, 0, 4},
        {Combo4, "Combo4", 5010, 2415, 2415, 315, Face::List, 0, 5},
        {Combo5, "Combo5", 5025, 3210, 2415, 315, Face::List, 0, 6},
        {Combo6, "Combo6", 5025, 4005, 2415, 315, Face::List, 0, 7},
        {Label3, "Label3", 2880, 30, 1485, 360, Face::Caption, 0x00C0FFFF, -1},
        {Label1, "Label1", 2880, 915, 885, 360, Face::Caption, 0x00C0FFFF, -1},
        {Label2, "Label2", 2880, 1680, 1500, 360, Face::Caption, 0x00C0FFFF, -1},
        {Label4, "Label4", 2880, 2460, 1410, 360, Face::Caption, 0x00C0FFFF, -1},
        {Label5, "Label5", 2880, 3225, 1125, 360, Face::Caption, 0x00C0FFFF, -1},
        {Label6, "Label6", 2880, 3990, 1890, 360, Face::Caption, 0x00C0FFFF, -1},
        {Label55, "Label55", 420, 4590, 3705, 435, Face::GameCode, 0x00FFFF80, -1},
        {Label44, "Label44", 405, 5400, 2775, 495, Face::Signature, 0x00FFFFFF, -1},
        {Command, "Command", 5955, 6555, 1650, 840, Face::Button, 0, 14},
    };
    std::vector<std::pair<int, QWidget *>> tabOrder;
    for (const ControlPlace &place : controls) {
        QWidget *widget = place.widget;
        widget->setObjectName(QLatin1String(place.name));
        widget->setGeometry(pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height));
        if (place.face != Face::List)
            widget->setFont(faceFont(place.face));
        if (place.backColour != 0) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::Window, storedColour(place.backColour));
            widget->setPalette(palette);
            widget->setBackgroundRole(QPalette::Window);
            widget->setAutoFillBackground(true);
        }
        widget->setProperty("tabIndex", place.tabIndex);
        if (place.tabIndex < 0)
            widget->setFocusPolicy(Qt::NoFocus);
        else
            tabOrder.emplace_back(place.tabIndex, widget);
    }
    std::sort(tabOrder.begin(), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

    // Rows after fonts: a font set on a filled list lays out all of its rows again.
    for (int region = 1; region <= 4; ++region)
        regionList(region)->addItems(GameData::regionRows(region - 1));
    const QStringList species = GameData::speciesRows();
    Combo1->setRows(GameData::methodRows());
    Combo2->setRows(GameData::levelRows());
    Combo3->setRows(GameData::itemRows());
    Combo4->setRows(species);
    Combo5->setRows(GameData::moveRows());
    Combo6->setRows(species);

    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) Option2_Click(); });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) { if (on) Option3_Click(); });
    connect(Option4, &QRadioButton::toggled, this, [this](bool on) { if (on) Option4_Click(); });
    connect(Combo1, &DropDown::Click, this, &Form1::Combo1_Click);
    connect(Command, &QPushButton::clicked, this, &Form1::Command_Click);
    connect(List1, &ListBox::Click, this, [this] { regionRowChosen(1); List1_Click(); });
    connect(List2, &ListBox::Click, this, [this] { regionRowChosen(2); List2_Click(); });
    connect(List3, &ListBox::Click, this, [this] { regionRowChosen(3); List3_Click(); });
    connect(List4, &ListBox::Click, this, [this] { regionRowChosen(4); List4_Click(); });
}

void Form1::buildMenus()
{
    // The bar shows the desktop's menu font, not the form's. A font counts as the
    // bar's own only with its attributes marked as set; else the form's wins.
    QFont menuFont = QApplication::font(menuBar());
    menuFont.setResolveMask(QFont::AllPropertiesResolved);
    menuBar()->setFont(menuFont);
    File1 = menuBar()->addMenu(QStringLiteral("File"));
    File1->setObjectName(QStringLiteral("File1"));
    Open1 = File1->addAction(QStringLiteral("Open"));
    Open1->setObjectName(QStringLiteral("Open1"));
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Exit1 = File1->addAction(QStringLiteral("Exit"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    About1 = menuBar()->addAction(QStringLiteral("About"));
    About1->setObjectName(QStringLiteral("About1"));
    connect(Open1, &QAction::triggered, this, &Form1::Open1_Click);
    connect(Exit1, &QAction::triggered, this, &Form1::Exit1_Click);
    connect(About1, &QAction::triggered, this, &Form1::About1_Click);
}

ListBox *Form1::regionList(int region) const
{
    const std::array<ListBox *, 4> lists = {List1, List2, List3, List4};
    return lists.at(region - 1);
}

void Form1::showRegionList(int region)
{
    for (int list = 1; list <= 4; ++list)
        regionList(list)->setVisible(list == region);
}

void Form1::Option1_Click() { showRegionList(1); }
void Form1::Option2_Click() { showRegionList(2); }
void Form1::Option3_Click() { showRegionList(3); }
void Form1::Option4_Click() { showRegionList(4); }

void Form1::regionRowChosen(int region)
{
    if (regionList(region)->ListIndex() < 0)
        return;
    for (int other = 1; other <= 4; ++other) {
        if (other != region)
            regionList(other)->setListIndex(-1, false);
    }
}

void Form1::Combo1_Click()
{
    // Level, item, species and move picker shown for each method; all hidden otherwise.
    struct Shown { int method; DropDown *picker; };
    const Shown table[] = {
        {4, Combo2}, {6, Combo3}, {7, Combo3}, {18, Combo3}, {19, Combo3}, {20, Combo5}, {21, Combo4},
    };
    DropDown *shown = nullptr;
    for (const Shown &line : table) {
        if (Combo1->ListIndex() == line.method) {
            shown = line.picker;
            break;
        }
    }
    for (DropDown *picker : {Combo2, Combo3, Combo4, Combo5})
        picker->setVisible(picker == shown);
}

void Form1::Open1_Click()
{
    clsCommonDialog dialog;
    const int flags = 6148; // hide read-only box, path and file must exist
    const QString path = dialog.ShowOpen(this, QStringLiteral("Open Zorvani NDS ROM..."), QString(),
                                         QStringLiteral("NDS ROMs (*.nds)|*.nds"), flags);
    // A cancel keeps the ROM in use and every control as it was.
    if (path.isEmpty())
        return;
    RomPath = path;
    for (QWidget *control : std::initializer_list<QWidget *>{Option1, Option2, Option3, Option4, Combo1, Combo6})
        control->setEnabled(true);
}

void Form1::Exit1_Click()
{
    Platform::quit();
}

void Form1::About1_Click()
{
    Platform::showMessage(QStringLiteral(" Zorvani Veltrium (E) "));
}

void Form1::Command_Click()
{
    using Routine = void (Form1::*)();
    static constexpr Routine routines[] = {
        &Form1::a_c, &Form1::a_d, &Form1::a_e, &Form1::a_f,
        &Form1::a_g, &Form1::a_h, &Form1::a_i, &Form1::a_j,
    };
    m_saveFailed = false;
    for (Routine routine : routines) {
        (this->*routine)();
        if (m_saveFailed)
            return; // a failed write ends the save
    }
}
