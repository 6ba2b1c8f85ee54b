#include "workspace/unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QVBoxLayout>

#include "formats/source_kind.h"
#include "support/backup.h"
#include "support/convert.h"
#include "support/files.h"
#include "support/placement.h"
#include "support/strutil.h"
#include "workspace/codepage.h"
#include "workspace/spelling.h"
#include "workspace/unit2.h"
#include "workspace/unit3.h"

namespace tov {

namespace {

constexpr int kDesignColWidths[tcol::kCount] = {60, 30, 300, 30, 300, 30, 18, 10, 87};
const char* const kPlacementValueName = "Tovrana";

}  // namespace

// ---------------------------------------------------------------------------
// Fonts

QFont TextFont::font() const
{
    QFont f(QString::fromStdString(record.name));
    if (record.height < 0)
        f.setPixelSize(-record.height);
    else if (record.height > 0)
        f.setPixelSize(record.height);
    else if (record.size > 0)
        f.setPointSize(record.size);
    f.setBold(record.bold);
    f.setItalic(record.italic);
    if (record.pitch == 2) f.setFixedPitch(true);
    return f;
}

void TextFont::setFrom(const QFont& f)
{
    record.name = f.family().toStdString();
    if (f.pixelSize() > 0) {
        record.height = -f.pixelSize();
        record.size = (f.pixelSize() * 72 + 48) / 96;
    } else {
        record.size = f.pointSize() > 0 ? f.pointSize() : record.size;
        record.height = heightForSize(record.size);
    }
    record.bold = f.bold();
    record.italic = f.italic();
}

// ---------------------------------------------------------------------------
// Construction

TForm1::TForm1(std::string programFolder, std::string iniPath, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      programFolder_(std::move(programFolder)),
      settings_(std::move(iniPath)),
      prompts_(prompts),
      view_(document_, [this]() -> const Format& { return format(); })
{
    view_.onEdit = [this](int c, int index, const std::string& text) { return editCell(c, index, text); };
    view_.onDocumentChanged = [this] { documentChanged(); };
    afterChange_.setSingleShot(true);
    afterChange_.setInterval(0);
    connect(&afterChange_, &QTimer::timeout, this, [this] {
        StatusBar1->updateCounts();
        fitLengthColumns();
    });
    if (!programFolder_.empty() && programFolder_.back() != '/') programFolder_.push_back('/');
    setObjectName("Form1");
    buildControls();
    buildMenu();
    spelling_ = std::make_unique<Spelling>(*this);
    idleTimer_.setSingleShot(true);
    idleTimer_.setInterval(0);
    connect(&idleTimer_, &QTimer::timeout, this, [this] { AppIdle(); });
    FormCreate();
}

TForm1::~TForm1()
{
    // The find dialog is this window's child; it goes first, while it can
    // still sign off.
    delete form3_;
    spelling_.reset();
    qApp->removeEventFilter(this);
    idleTimer_.stop();
    afterChange_.stop();
    view_.onDocumentChanged = nullptr;
    SG1->clearHooks();
    SG1->setSource(nullptr);
    attachWorkingWindow(nullptr);
}

void TForm1::attachWorkingWindow(TForm2* form2)
{
    // The working table window shows the working table of the format in use;
    // it lets go of it before the formats go.
    if (form2_ && form2_ != form2) form2_->SG1->viewGrid(nullptr);
    form2_ = form2;
    showWorkingTable();
}

void TForm1::showWorkingTable()
{
    if (!form2_) return;
    // A working table that a reader put off is built once its window is
    // shown; while hidden, the window views it as it is.
    Format& f = format();
    if (form2_->isVisible()) f.prepareWorkingTable();
    form2_->SG1->viewGrid(&f.workingTableStorage());
}

Format& TForm1::formatFor(std::uint8_t kind)
{
    std::unique_ptr<Format>& slot = formats_[static_cast<std::size_t>(familyOf(kind))];
    if (!slot) {
        FormatEnvironment environment;
        if (traitsOf(kind).temporaryFiles && !tempNames_) {
            tempFolder_ = std::make_unique<PrivateTempFolder>("tovrana-");
            tempNames_ = std::make_unique<TempNamer>(tempFolder_->path());
        }
        environment.tempNames = tempNames_.get();
        slot = makeFormat(kind, environment);
    }
    slot->setKind(static_cast<SourceKind>(kind));
    return *slot;
}

void TForm1::pushEdit(std::unique_ptr<Edit> edit, bool typing)
{
    if (edit->empty()) return;
    undoStack_.push(new DocumentEdit(document_, std::move(edit), typing));
}

void TForm1::showRows(std::uint8_t kind, std::vector<Entry> rows)
{
    sourceKind = kind;
    startDocument(format());
    document_.assign(std::move(rows));
    filterStale_ = true;
    TableRefresh();
}

void TForm1::startDocument(Format& f)
{
    f.clearDocument(document_);
    documentFamily_ = f.family();
    documentReplaced();
}

void TForm1::documentReplaced()
{
    undoStack_.clear();
    pendingEdits_ = false;
    filterStale_ = true;
    if (spelling_) spelling_->documentReplaced();
}

void TForm1::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QWidget(central);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(25);
    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    auto makePanel = [&](const char* name) {
        auto* p = new QLabel(Panel1);
        p->setObjectName(name);
        p->setFrameStyle(QFrame::Panel | QFrame::Raised);
        p->setAlignment(Qt::AlignCenter);
        return p;
    };
    Panel4 = makePanel("Panel4");
    Panel4->setFixedWidth(392);
    Panel3 = makePanel("Panel3");
    top->addWidget(Panel4);
    top->addWidget(Panel3, 1);
    layout->addWidget(Panel1);

    SG1 = new StringGrid(central);
    SG1->setObjectName("SG1");
    SG1->setSource(&view_);
    SG1->setFixedRows(1);
    SG1->setFixedCols(1);
    TextFont design;  // "Courier New", -15, East European
    SG1->setFont(design.font());
    SG1->sync();
    for (int c = 0; c < tcol::kCount; ++c) SG1->setColWidth(c, kDesignColWidths[c]);
    layout->addWidget(SG1, 1);

    Panel2 = new QWidget(central);
    Panel2->setObjectName("Panel2");
    Panel2->setFixedHeight(50);
    GroupBox1 = new QGroupBox(QStringLiteral("Character count"), Panel2);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(9, 2, 372, 44);
    Label1 = new QLabel(QStringLiteral("Base: ___   Dest: ___"), GroupBox1);
    Label1->setObjectName("Label1");
    Label1->setGeometry(10, 18, 260, 20);
    BitBtn2 = new QPushButton(QStringLiteral("Refresh"), GroupBox1);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(288, 14, 75, 25);
    Label2 = new QLabel(Panel2);
    Label2->setObjectName("Label2");
    Label2->setGeometry(392, 16, 300, 20);
    statusTimer_.setSingleShot(true);
    statusTimer_.setInterval(6000);
    connect(&statusTimer_, &QTimer::timeout, Label2, &QLabel::clear);
    BitBtn1 = new QPushButton(QStringLiteral("Close"), Panel2);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->resize(75, 25);
    layout->addWidget(Panel2);
    Panel2->installEventFilter(this);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { close(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    // The pickers sit over the headers of the base and destination columns.
    ComboBox1 = new QComboBox(central);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setGeometry(172, 27, 145, 21);
    ComboBox1->hide();
    ComboBox2 = new QComboBox(central);
    ComboBox2->setObjectName("ComboBox2");
    ComboBox2->setGeometry(504, 27, 145, 21);
    ComboBox2->hide();
    // A change of text, chosen or typed, runs the change handler; code that
    // fills the lists blocks the signals while it does.
    connect(ComboBox1, &QComboBox::currentTextChanged, this, [this] { ComboBox1Change(); });
    connect(ComboBox2, &QComboBox::currentTextChanged, this, [this] { ComboBox2Change(); });

    StatusBar1 = new WorkStatus(document_, this);
    setStatusBar(StatusBar1);

    Memo1 = new QPlainTextEdit(central);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setEnabled(false);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Memo1->setLineWidth(1);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        QPalette pal = Memo1->palette();
        const QColor info = pal.color(QPalette::ToolTipBase);
        const QColor text = pal.color(QPalette::ToolTipText);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(group, QPalette::Base, info);
            pal.setColor(group, QPalette::Text, text);
        }
        Memo1->setPalette(pal);
    }
    Memo1->resize(302, 65);
    // Clicks on the preview reach the cells beneath it.
    Memo1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Memo1->hide();

    SG1->installEventFilter(this);
    SG1->onDrawCell = [this](QPainter& p, int c, int r, const QRect& rect, const DrawState& st) {
        SG1DrawCell(p, c, r, rect, st);
    };
    SG1->onCoversCell = [this](int c, int r, const DrawState& st) { return SG1CoversCell(c, r, st); };
    SG1->onSelectCell = [this](int c, int r) { return SG1SelectCell(c, r); };
    SG1->onSetEditText = [this](int c, int r, const std::string& s) {
        SG1SetEditText(c, r, s);
        scheduleIdle();
    };
    SG1->onKeyDown = [this](int& key, Qt::KeyboardModifiers mods, bool rep) { SG1KeyDown(key, mods, rep); };
    SG1->onKeyPress = [this](QChar& ch) { SG1KeyPress(ch); };
    SG1->onExit = [this] { SG1Exit(); };
    SG1->onRefusedText = [this](const QString& refused) { SG1RefusedText(refused); };
    SG1->onMouseMove = [this](const QPoint& p) { SG1MouseMove(p); };
    SG1->onCurrentChanged = [this](int, int) { scheduleIdle(); };
    // The preview follows its cell when the grid scrolls.
    connect(SG1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { scheduleIdle(); });
    connect(SG1->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { scheduleIdle(); });
}

void TForm1::buildMenu()
{
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, const char* name, const QString& caption, void (TForm1::*handler)(),
                      const QKeySequence& shortcut = {}) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        if (!shortcut.isEmpty()) a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return a;
    };

    // Every menu opens with Alt and its underlined letter.
    File1 = bar->addMenu(QStringLiteral("&File"));
    File1->setObjectName("File1");
    connect(File1, &QMenu::aboutToShow, this, [this] { File1Click(); });
    Openbasetext1 = File1->addMenu(QStringLiteral("Open base text"));
    Openbasetext1->setObjectName("Openbasetext1");
    Konfix1 = add(Openbasetext1, "Konfix1", QStringLiteral("Konfix"), &TForm1::Konfix1Click);
    Vigrex1 = add(Openbasetext1, "Vigrex1", QStringLiteral("Vigrex"), &TForm1::Vigrex1Click);
    Konfi101 = add(Openbasetext1, "Konfi101", QStringLiteral("Konfi10"), &TForm1::Konfi101Click);
    Orvantafirmware1 = add(Openbasetext1, "Orvantafirmware1", QStringLiteral("Orvanta firmware"),
                           &TForm1::Orvantafirmware1Click);
    QL5firmware1 = add(Openbasetext1, "QL5firmware1", QStringLiteral("QL5 firmware"), &TForm1::QL5firmware1Click);
    QL10firmware1 = add(Openbasetext1, "QL10firmware1", QStringLiteral("QL10 firmware"), &TForm1::QL10firmware1Click);
    TELMOfirmware1 = add(Openbasetext1, "TELMOfirmware1", QStringLiteral("TELMO firmware"),
                         &TForm1::TELMOfirmware1Click);
    Openbasetext1->addSeparator();
    Genaricdrc1 = add(Openbasetext1, "Genaricdrc1", QStringLiteral("Generic *.drc"), &TForm1::Genaricdrc1Click);
    Openbasetext1->addSeparator();
    INIfile1 = add(Openbasetext1, "INIfile1", QStringLiteral("PW soft MENU.INI file"), &TForm1::INIfile1Click);
    Openbasetext1->addSeparator();
    FileC1 = add(Openbasetext1, "FileC1", QStringLiteral("File  *.c"), &TForm1::FileC1Click);

    File1->addSeparator();
    Newdestination1 = File1->addMenu(QStringLiteral("New destination"));
    Newdestination1->setObjectName("Newdestination1");
    Blank1 = add(Newdestination1, "Blank1", QStringLiteral("Blank"), &TForm1::Blank1Click);
    Usefile1 = add(Newdestination1, "Usefile1", QStringLiteral("Use file..."), &TForm1::Usefile1Click);
    OpenDest1 = add(File1, "OpenDest1", QStringLiteral("Open destination"), &TForm1::OpenDest1Click);
    Savedest1 = add(File1, "Savedest1", QStringLiteral("Save destination"), &TForm1::Savedest1Click,
                    QKeySequence(Qt::CTRL | Qt::Key_S));
    File1->addSeparator();
    Exporttotextfile1 = add(File1, "Exporttotextfile1", QStringLiteral("Export to text file"),
                            &TForm1::Exporttotextfile1Click);
    auto exchangeItem = [&](const char* name, const QString& caption, auto handler) {
        QAction* a = File1->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    ExporttoXLIFF1 = exchangeItem("ExporttoXLIFF1", QStringLiteral("Export to XLIFF\u2026"),
                                  [this] { ExportExchange(exchange::Format::Xliff); });
    ImportXLIFF1 = exchangeItem("ImportXLIFF1", QStringLiteral("Import XLIFF\u2026"),
                                [this] { ImportExchange(exchange::Format::Xliff); });
    ExporttoPO1 = exchangeItem("ExporttoPO1", QStringLiteral("Export to PO\u2026"),
                               [this] { ExportExchange(exchange::Format::Po); });
    ImportPO1 = exchangeItem("ImportPO1", QStringLiteral("Import PO\u2026"),
                             [this] { ImportExchange(exchange::Format::Po); });
    File1->addSeparator();
    Exit1 = add(File1, "Exit1", QStringLiteral("Exit"), &TForm1::Exit1Click);

    Edit1 = bar->addMenu(QStringLiteral("&Edit"));
    Edit1->setObjectName("Edit1");
    Undo1 = add(Edit1, "Undo1", QStringLiteral("&Undo"), &TForm1::Undo1Click, QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1 = add(Edit1, "Redo1", QStringLiteral("&Redo"), &TForm1::Redo1Click);
    Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    Undo1->setEnabled(false);
    Redo1->setEnabled(false);
    connect(&undoStack_, &QUndoStack::canUndoChanged, Undo1, &QAction::setEnabled);
    connect(&undoStack_, &QUndoStack::canRedoChanged, Redo1, &QAction::setEnabled);
    Edit1->addSeparator();
    Nexttodo1 = add(Edit1, "Nexttodo1", QStringLiteral("&Next row that needs work"), &TForm1::Nexttodo1Click,
                    QKeySequence(Qt::Key_F8));
    Prevtodo1 = add(Edit1, "Prevtodo1", QStringLiteral("&Previous row that needs work"), &TForm1::Prevtodo1Click,
                    QKeySequence(Qt::SHIFT | Qt::Key_F8));
    Showtodo1 = add(Edit1, "Showtodo1", QStringLiteral("&Show only rows that need work"), &TForm1::Showtodo1Click,
                    QKeySequence(Qt::CTRL | Qt::Key_F8));
    Showtodo1->setCheckable(true);

    Search1 = bar->addMenu(QStringLiteral("&Search"));
    Search1->setObjectName("Search1");
    Inbase1 = add(Search1, "Inbase1", QStringLiteral("&Find"), &TForm1::Inbase1Click, QKeySequence(Qt::CTRL | Qt::Key_F));
    Searchagain1 = add(Search1, "Searchagain1", QStringLiteral("Search &again"), &TForm1::Searchagain1Click,
                       QKeySequence(Qt::Key_F3));
    Replace1 = add(Search1, "Replace1", QStringLiteral("&Replace"), &TForm1::Replace1Click,
                   QKeySequence(Qt::CTRL | Qt::Key_H));

    Font1 = bar->addMenu(QStringLiteral("F&ont"));
    Font1->setObjectName("Font1");
    Basefont1 = add(Font1, "Basefont1", QStringLiteral("Base font"), &TForm1::Basefont1Click,
                    QKeySequence(Qt::SHIFT | Qt::Key_F1));
    Destfont1 = add(Font1, "Destfont1", QStringLiteral("Dest. font"), &TForm1::Destfont1Click,
                    QKeySequence(Qt::SHIFT | Qt::Key_F2));

    Help1 = bar->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName("Help1");
    About2 = add(Help1, "About2", QStringLiteral("About"), &TForm1::About2Click);
    test1 = add(Help1, "test1", QStringLiteral("test"), &TForm1::testClick);

    // Shortcuts work while the grid's editor has the focus too.
    for (QAction* a : {Savedest1, Inbase1, Searchagain1, Replace1, Basefont1, Destfont1, Undo1, Redo1, Nexttodo1,
                       Prevtodo1, Showtodo1})
        a->setShortcutContext(Qt::WindowShortcut);

    OpenDialog1.defaultExtension = QStringLiteral(".drc");
    OpenDialog1.filter = QStringLiteral("DRC|*.drc");
    SaveDialog1.defaultExtension = QStringLiteral("drc");
    SaveDialog1.promptCreate = true;
    SaveDialog2.defaultExtension = QStringLiteral("*.txt");
    SaveDialog2.filter = QStringLiteral("text|*.txt");
}

// ---------------------------------------------------------------------------
// Start and close

void TForm1::FormCreate()
{
    setWindowTitle(QStringLiteral("Tovrana"));
    move(174, 91);
    resize(903, 636 + menuBar()->sizeHint().height());
    restorePlacement();

    TextFont design;
    design.record = FontRecord{};
    baseFont = design;
    destFont = design;
    numberFont = design;
    settings_.loadFont("bfont", baseFont.record);
    settings_.loadFont("dfont", destFont.record);

    qApp->installEventFilter(this);

    sourceKind = settings_.sourceKind();
    previewLines.clear();

    setWindowTitle(QStringLiteral("Tovrana v.") + QString::fromStdString(programVersionText()));
    FormResize();
}

bool TForm1::FormClose()
{
    if (!SaveDestPrompt()) return false;
    if (ShowMessage(MsgIcon::Question, "        Close program     ?", Yes | No) != Yes) return false;

    settings_.storeFont("bfont", baseFont.record);
    settings_.storeFont("dfont", destFont.record);

    baseFile = programRelativeName(baseFile, programFolder_);
    destFile = programRelativeName(destFile, programFolder_);
    settings_.setFile("bfile", baseFile);
    settings_.setFile("dfile", destFile);
    settings_.setFile("fm", std::to_string(sourceKind));

    setWindowTitle(QStringLiteral("Tovrana"));
    storePlacement();

    // The rows of the document, also while the filter hides some.
    auto documentRow = [this](int r) {
        const int index = view_.indexAt(r);
        return view_.filtered() && index >= 0 ? index + 1 : r;
    };
    settings_.setFile("cc", std::to_string(documentRow(SG1->row())));
    settings_.setFile("tr", std::to_string(documentRow(SG1->topRow())));
    const FormatTraits& traits = format().traits();
    if (traits.baseLanguageKey) {
        settings_.setFile(traits.baseLanguageKey, std::to_string(ComboBox1->currentIndex()));
        settings_.setFile(traits.destLanguageKey, std::to_string(ComboBox2->currentIndex()));
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (FormClose()) {
        event->accept();
        // The other windows end with the main one.
        if (form2_) form2_->hide();
        qApp->quit();
    } else {
        event->ignore();
    }
}

void TForm1::restorePlacement()
{
    const std::string key = placementKey(programFolder_);
    if (key.empty()) return;
    QSettings store(QStringLiteral("Orbika"), QStringLiteral("Tovra"));
    const QVariant value = store.value(QString::fromStdString(key) + "/" + kPlacementValueName);
    std::optional<WindowRect> stored;
    if (value.typeId() == QMetaType::QByteArray) stored = decodePlacement(value.toByteArray().toStdString());
    QRect desk(0, 0, 1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) desk = screen->virtualGeometry();
    const WindowRect current{x(), y(), width(), height()};
    const WindowRect placed =
        tov::restorePlacement(stored, current, WindowRect{desk.left(), desk.top(), desk.width(), desk.height()});
    move(placed.left, placed.top);
    resize(placed.width, placed.height);
}

void TForm1::storePlacement()
{
    if (isMaximized()) return;
    const std::string key = placementKey(programFolder_);
    if (key.empty()) return;
    QSettings store(QStringLiteral("Orbika"), QStringLiteral("Tovra"));
    const std::string record = encodePlacement(WindowRect{x(), y(), width(), height()});
    store.setValue(QString::fromStdString(key) + "/" + kPlacementValueName, QByteArray::fromStdString(record));
    store.sync();
}

// ---------------------------------------------------------------------------
// Layout

void TForm1::FormResize()
{
    auto setWidth = [this](int c, int width) {
        width = std::max(0, width);
        if (SG1->colWidth(c) != width) SG1->setColWidth(c, width);
    };
    // Length columns widened for long texts take their room from the texts.
    const int lengths = SG1->colWidth(tcol::kBaseLen) + SG1->colWidth(tcol::kDestLen) - 2 * kDesignColWidths[tcol::kBaseLen];
    const int w = SG1->width() - std::max(0, lengths);
    int panel;
    if (format().traits().wideCommentLayout) {
        const int u = (w - 120) / 8;
        setWidth(tcol::kBase, 3 * u);
        setWidth(tcol::kDest, 3 * u);
        setWidth(tcol::kComment, 2 * u);
        panel = 3 * u + 93;
    } else {
        const int h = (w - 120) / 2;
        setWidth(tcol::kBase, h - 13);
        setWidth(tcol::kDest, h - 11);
        panel = h + 80;
    }
    // The base panel ends where the destination columns begin.
    panel = std::max(0, panel + SG1->colWidth(tcol::kBaseLen) - kDesignColWidths[tcol::kBaseLen]);
    if (Panel4->width() != panel) Panel4->setFixedWidth(panel);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::placeBottomControls()
{
    // "Close" keeps its distance to the right edge; the status line fills the gap.
    BitBtn1->move(Panel2->width() - 78, 11);
    Label2->resize(std::max(0, Panel2->width() - 78 - 8 - Label2->x()), Label2->height());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SG1 && event->type() == QEvent::Resize) {
        FormResize();
    } else if (watched == Panel2 && event->type() == QEvent::Resize) {
        placeBottomControls();
    }
    if (event->type() == QEvent::ShortcutOverride && SG1->editor() && watched == SG1->editor()) {
        // The cell editor keeps no history of its own: Undo and Redo are
        // the window's, over every edit of the destination.
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* a : {Undo1, Redo1})
            if (a->shortcuts().contains(pressed)) return true;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
    case QEvent::Resize:
    case QEvent::FocusIn:
        scheduleIdle();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::scheduleIdle()
{
    if (!idleTimer_.isActive()) idleTimer_.start();
}

// ---------------------------------------------------------------------------
// The table

void TForm1::TableRefresh()
{
    // The text checks of the kind shown (a file restored at start, or read
    // under another kind of the same family, keeps the document it had).
    document_.setCheckOptions(checks::forKind(sourceKind));
    fitLengthColumns();
    FormResize();
    showFilePanels();
    const Format& shown = format();
    StatusBar1->setLengths(!shown.traits().lengthColumns              ? WorkStatus::Lengths::None
                           : shown.family() == FormatFamily::Firmware ? WorkStatus::Lengths::Fixed
                                                                       : WorkStatus::Lengths::Maximum);
    view_.setHeadersShown(true);
    if (filterStale_) applyFilter();
    // The file names may be others now, and with them the language.
    spelling_->documentReplaced();
    showWorkingTable();
    BitBtn2Click();
}

void TForm1::BitBtn2Click()
{
    const Counts& counts = document_.counts();
    Label1->setText(QString::fromStdString(characterCountText(counts.baseCharacters, counts.destCharacters)));
}

bool TForm1::SaveDestPrompt()
{
    if (!Savedest1->isEnabled() || !edited()) return true;
    switch (ShowMessage(MsgIcon::Question, "        Save destination file?", Yes | No | Cancel)) {
    case Yes:
        // Only a destination that was really written lets the caller discard
        // the edits; a cancelled or failed save keeps them where they are.
        return SaveDestination();
    case No:
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// Commands shared by every kind

void TForm1::Savedest1Click()
{
    SaveDestination();
}

void TForm1::ComboBox1Change()
{
    LanguagesChanged();
}

void TForm1::ComboBox2Change()
{
    LanguagesChanged();
}

void TForm1::Exit1Click()
{
    close();
}

namespace {

// The font dialog offers the font the screen really uses for a stored name
// ("Courier New" is drawn in a metric-compatible font where it is not
// installed); taking that font unchanged keeps the stored name.
void chooseTextFont(Prompts& prompts, QWidget* parent, TextFont& font)
{
    QFont shown = font.font();
    const QString stored = shown.family();
    shown.setFamily(QFontInfo(shown).family());
    const auto chosen = prompts.chooseFont(parent, shown);
    if (!chosen) return;
    QFont taken = *chosen;
    if (taken.family() == shown.family()) taken.setFamily(stored);
    font.setFrom(taken);
}

}  // namespace

void TForm1::Basefont1Click()
{
    chooseTextFont(prompts_, this, baseFont);
    SG1->viewport()->update();
}

void TForm1::Destfont1Click()
{
    chooseTextFont(prompts_, this, destFont);
    SG1->viewport()->update();
}

void TForm1::About2Click()
{
    ShowMessage(MsgIcon::Information, "Tovrana v." + programVersionText(), Ok);
}

void TForm1::testClick()
{
    form2_->show();
    form2_->raise();
}

// ---------------------------------------------------------------------------
// Helpers

MsgButton TForm1::ShowMessage(MsgIcon icon, const std::string& text, unsigned buttons)
{
    return prompts_.message(this, icon, decodeBytes(text), buttons);
}

void DialogState::apply(const DialogStart& start)
{
    if (start.folder) initialFolder = pathToQString(*start.folder);
    if (start.fileName) fileName = pathToQString(*start.fileName);
    if (start.filter) filter = QString::fromStdString(*start.filter);
    if (start.defaultExtension) defaultExtension = QString::fromStdString(*start.defaultExtension);
    if (start.promptCreate) promptCreate = *start.promptCreate;
}

bool TForm1::SaveWithoutBackup(const std::string& path, const std::string& error)
{
    // File names are the file system's, not Windows-1250 texts.
    return prompts_.message(this, MsgIcon::Warning, pathToQString(backupFailureQuestion(path, error)), Yes | No) ==
           Yes;
}

std::string TForm1::resolveName(const std::string& name) const
{
    return resolveProgramRelative(name, programFolder_);
}

QString TForm1::nameOnly(const std::string& path)
{
    return pathToQString(fileNamePart(path));
}

}  // namespace tov
