#include "workspace/spelling.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QThreadPool>
#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "document/edits.h"
#include "formats/source_kind.h"
#include "support/files.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"

namespace tov {

namespace {

// A slice of the pass takes about this long before the window gets its turn.
constexpr qint64 kSliceMs = 8;
// Rows checked between two looks at the clock.
constexpr int kRowsPerLook = 16;
// Typing pauses this long before the pass starts again.
constexpr int kRestartDelayMs = 300;

const QColor kWaveColour(230, 0, 0);
// The name of the count in the status bar.
const QString kCountName = QStringLiteral("Misspelled");

// A key of the settings file cannot hold "=" and cannot start with ";" or
// "["; a file name may. Such characters (and "%") are written as %XX.
std::string settingsKeyOf(const std::string& name)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string key;
    for (const char c : name) {
        if (c == '=' || c == ';' || c == '[' || c == ']' || c == '%') {
            const auto b = static_cast<unsigned char>(c);
            key += '%';
            key += kHex[b >> 4];
            key += kHex[b & 15];
        } else {
            key += c;
        }
    }
    return key;
}

// A red wave from x0 to x1 with its crests on y.
void drawWave(QPainter& painter, int x0, int x1, int y)
{
    if (x1 <= x0) return;
    QPainterPath path(QPointF(x0, y + 1.5));
    bool down = false;
    for (int x = x0; x < x1; x += 2) {
        path.lineTo(QPointF(std::min(x + 2, x1), y + (down ? 1.5 : 0.0)));
        down = !down;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kWaveColour, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

// The span of `spans` that holds character `at` (the position right after a
// word belongs to it too), or null.
const spell::WordSpan* spanHolding(const spell::Misspellings& spans, int at)
{
    for (const spell::WordSpan& s : spans)
        if (at >= static_cast<int>(s.start) && at <= static_cast<int>(s.start + s.length)) return &s;
    return nullptr;
}

// The dictionaries of the folders named by DICPATH (separated by ":", as
// hunspell's own tools take them) and of the system's folder; of two with
// the same name the first found is used.
std::vector<spell::Dictionary> findDictionaries()
{
    std::vector<std::string> folders;
    const QString list = qEnvironmentVariable("DICPATH");
    for (const QString& f : list.split(QLatin1Char(':'), Qt::SkipEmptyParts)) folders.push_back(pathFromQString(f));
    folders.emplace_back(spell::kSystemDictionaryFolder);
    std::vector<spell::Dictionary> all;
    for (const std::string& folder : folders)
        for (spell::Dictionary& d : spell::installedDictionaries(folder))
            if (!spell::findDictionary(all, d.code)) all.push_back(std::move(d));
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.code < b.code; });
    return all;
}

}  // namespace

// What a worker thread hands over. `owner` is cleared when the window goes
// first: the worker then only finishes and drops what it loaded.
struct Spelling::Load {
    std::string code;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    Spelling* owner = nullptr;
    std::optional<spell::SpellChecker> checker;
    std::string error;
};

Spelling::Spelling(TForm1& form) : form_(form)
{
    enabled_ = form_.settings().read("spelling", "check") != "0";
    dictionaries_ = findDictionaries();

    Spelling1 = new QMenu(QStringLiteral("S&pelling"), &form_);
    Spelling1->setObjectName("Spelling1");
    form_.menuBar()->insertMenu(form_.Help1->menuAction(), Spelling1);
    Checkspelling1 = Spelling1->addAction(QStringLiteral("&Check spelling"));
    Checkspelling1->setObjectName("Checkspelling1");
    Checkspelling1->setCheckable(true);
    Checkspelling1->setChecked(enabled_);
    connect(Checkspelling1, &QAction::toggled, this, [this](bool on) { setEnabled(on); });
    Spelling1->addSeparator();
    Nextmisspelled1 = Spelling1->addAction(QStringLiteral("&Next misspelled"));
    Nextmisspelled1->setObjectName("Nextmisspelled1");
    Nextmisspelled1->setShortcut(QKeySequence(Qt::Key_F7));
    connect(Nextmisspelled1, &QAction::triggered, this, [this] { goToMisspelled(1); });
    Previousmisspelled1 = Spelling1->addAction(QStringLiteral("&Previous misspelled"));
    Previousmisspelled1->setObjectName("Previousmisspelled1");
    Previousmisspelled1->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F7));
    connect(Previousmisspelled1, &QAction::triggered, this, [this] { goToMisspelled(-1); });
    // The keys work while the cell editor has the focus too.
    for (QAction* a : {Nextmisspelled1, Previousmisspelled1}) a->setShortcutContext(Qt::WindowShortcut);
    Spelling1->addSeparator();
    Dictionary1 = Spelling1->addMenu(QStringLiteral("&Dictionary"));
    Dictionary1->setObjectName("Dictionary1");
    dictionaryGroup_ = new QActionGroup(this);
    dictionaryGroup_->setExclusive(true);
    // The list is made when the menu opens: what is open decides the first item.
    connect(Spelling1, &QMenu::aboutToShow, this, [this] { fillDictionaryMenu(); });

    StatusLabel = new QLabel(&form_);
    StatusLabel->setObjectName("SpellingStatus");
    Progress = new QProgressBar(&form_);
    Progress->setObjectName("SpellingProgress");
    Progress->setRange(0, 100);
    Progress->setMaximumWidth(120);
    Progress->setMaximumHeight(14);
    Progress->hide();
    Progress->setFormat(QStringLiteral("Spelling %p%"));
    form_.StatusBar1->addPermanentWidget(Progress);
    form_.StatusBar1->addPermanentWidget(StatusLabel);

    reviewTimer_.setSingleShot(true);
    reviewTimer_.setInterval(0);
    connect(&reviewTimer_, &QTimer::timeout, this, [this] { review(); });
    restartTimer_.setSingleShot(true);
    restartTimer_.setInterval(kRestartDelayMs);
    connect(&restartTimer_, &QTimer::timeout, this, [this] { restartPass(); });
    sliceTimer_.setSingleShot(true);
    sliceTimer_.setInterval(0);
    connect(&sliceTimer_, &QTimer::timeout, this, [this] { runSlice(); });
    // Every edit of a destination text goes through the undo stack.
    connect(&form_.undoStack(), &QUndoStack::indexChanged, this, [this] {
        if (checker()) restartTimer_.start();
    });

    // The grid's viewport, and its cell editor, which comes and goes: their
    // events are looked at on their way.
    qApp->installEventFilter(this);
    showState();
}

Spelling::~Spelling()
{
    qApp->removeEventFilter(this);
    for (const auto& [code, load] : loads_) {
        const std::lock_guard lock(load->mutex);
        load->owner = nullptr;
    }
}

void Spelling::startLoad(const spell::Dictionary& dictionary)
{
    if (loads_.contains(dictionary.code)) return;
    auto load = std::make_shared<Load>();
    load->code = dictionary.code;
    load->owner = this;
    loads_.emplace(dictionary.code, load);
    // The global pool is waited for when the application ends.
    QThreadPool::globalInstance()->start([load, dictionary, folder = form_.programFolder()] {
        std::string error;
        std::optional<spell::SpellChecker> checker = spell::SpellChecker::open(dictionary, folder, &error);
        const std::lock_guard lock(load->mutex);
        load->checker = std::move(checker);
        load->error = std::move(error);
        load->done = true;
        load->ended.notify_all();
        // Posted while the lock keeps the window from going; an event still
        // waiting when it goes is dropped with it.
        if (load->owner)
            QMetaObject::invokeMethod(load->owner, [owner = load->owner, load] { owner->takeLoaded(load); },
                                      Qt::QueuedConnection);
    });
}

void Spelling::takeLoaded(const std::shared_ptr<Load>& load)
{
    const auto it = loads_.find(load->code);
    if (it == loads_.end() || it->second != load) return;  // taken already
    loads_.erase(it);
    std::optional<spell::SpellChecker> checker;
    std::string error;
    {
        const std::lock_guard lock(load->mutex);
        checker = std::move(load->checker);
        error = std::move(load->error);
    }
    // A dictionary no longer chosen is kept for when it is chosen again.
    if (checker)
        checkers_.emplace(load->code, std::move(*checker));
    else if (load->code == current_)
        loadError_ = error;
    if (load->code == current_) changed();
}

bool Spelling::loading() const
{
    return enabled_ && loads_.contains(current_);
}

void Spelling::waitForDictionary()
{
    while (!loads_.empty()) {
        const std::shared_ptr<Load> load = loads_.begin()->second;
        {
            std::unique_lock lock(load->mutex);
            load->ended.wait(lock, [&] { return load->done; });
        }
        takeLoaded(load);
    }
}

void Spelling::setEnabled(bool on)
{
    if (Checkspelling1->isChecked() != on) Checkspelling1->setChecked(on);  // comes back here
    if (enabled_ == on) return;
    enabled_ = on;
    form_.settings().write("spelling", "check", on ? "1" : "0");
    if (on) review();
    changed();
}

const spell::Dictionary* Spelling::dictionary() const
{
    if (!enabled_ || current_.empty()) return nullptr;
    const auto it = checkers_.find(current_);
    return it == checkers_.end() ? nullptr : &it->second.dictionary();
}

spell::SpellChecker* Spelling::checker()
{
    if (!enabled_ || current_.empty()) return nullptr;
    const auto it = checkers_.find(current_);
    return it == checkers_.end() ? nullptr : &it->second;
}

std::string Spelling::fileLanguage() const
{
    const std::uint8_t kind = form_.sourceKind;
    const TranslationDocument& doc = form_.document();
    const std::string& path = form_.destFile.empty() ? form_.baseFile : form_.destFile;
    // A resource-string or firmware base text alone says nothing of the
    // destination's language.
    if (form_.destFile.empty() && kind != kMenuIni && kind != kCArrays) return {};
    return spell::guessDestinationLanguage(kind, path, doc.destLanguageName);
}

std::string Spelling::settingsKey() const
{
    // The destination file, or for a file that holds every language the
    // file and the language edited; with no file, the kind.
    const bool everyLanguage = form_.format().traits().languagePickers;
    std::string name = everyLanguage || form_.destFile.empty() ? form_.baseFile : form_.destFile;
    if (name.empty()) return "kind " + std::to_string(form_.sourceKind);
    name = programRelativeName(name, form_.programFolder());
    if (everyLanguage) name += " > " + form_.document().destLanguageName;
    return settingsKeyOf(name);
}

void Spelling::chooseDictionary(const std::string& code)
{
    form_.settings().write("spelling", settingsKey(), code);
    review();
}

void Spelling::documentReplaced()
{
    reviewTimer_.start();
}

void Spelling::review()
{
    reviewTimer_.stop();
    const std::string stored = form_.settings().read("spelling", settingsKey());
    const spell::Dictionary* chosen = stored.empty() ? nullptr : spell::findDictionary(dictionaries_, stored);
    if (!chosen) {
        const std::string language = fileLanguage();
        if (!language.empty()) chosen = spell::dictionaryForLanguage(dictionaries_, language);
    }
    useDictionary(chosen);
    // The texts may be others even with the same dictionary.
    restartPass();
}

void Spelling::useDictionary(const spell::Dictionary* d)
{
    const std::string code = d ? d->code : std::string();
    if (code != current_) {
        current_ = code;
        loadError_.clear();
    } else if (!d || !enabled_ || checkers_.contains(code) || !loadError_.empty()) {
        // Nothing new (a dictionary that could not be loaded is not tried again).
        return;
    }
    if (d && enabled_ && !checkers_.contains(code)) startLoad(*d);
    changed();
}

void Spelling::fillDictionaryMenu()
{
    Dictionary1->clear();
    for (QAction* a : dictionaryGroup_->actions()) dictionaryGroup_->removeAction(a);
    const std::string language = fileLanguage();
    const std::string_view languageName = spell::languageName(language);
    QString automatic = QStringLiteral("Language of the file");
    automatic += languageName.empty() ? QStringLiteral(" (not known)")
                                      : QStringLiteral(" (%1)").arg(QString::fromStdString(std::string(languageName)));
    const bool stored = !form_.settings().read("spelling", settingsKey()).empty();
    auto addItem = [&](const QString& caption, const std::string& code, bool checked) {
        QAction* a = Dictionary1->addAction(caption);
        a->setObjectName(code.empty() ? QStringLiteral("dictionary") : QStringLiteral("dictionary_%1").arg(QString::fromStdString(code)));
        a->setCheckable(true);
        a->setChecked(checked);
        dictionaryGroup_->addAction(a);
        connect(a, &QAction::triggered, this, [this, code] { chooseDictionary(code); });
    };
    addItem(automatic, {}, !stored);
    Dictionary1->addSeparator();
    for (const spell::Dictionary& d : dictionaries_)
        addItem(QString::fromStdString(d.name + "  [" + d.code + "]"), d.code, stored && d.code == current_);
    if (dictionaries_.empty()) {
        QAction* none = Dictionary1->addAction(QStringLiteral("No dictionary installed"));
        none->setEnabled(false);
    }
    Dictionary1->setEnabled(enabled_);
}

void Spelling::showState()
{
    // The dictionary in use, or why there is none.
    QString text;
    const bool shown = enabled_ && !form_.document().empty();
    const spell::Dictionary* d = dictionary();
    if (shown) {
        if (!loadError_.empty()) {
            text = QStringLiteral("Spelling: %1").arg(pathToQString(loadError_));
        } else if (d) {
            text = QString::fromStdString(d->code);
        } else if (loading()) {
            text = QStringLiteral("%1 loading\u2026").arg(QString::fromStdString(current_));
        } else {
            const std::string_view name = spell::languageName(fileLanguage());
            text = name.empty() ? QStringLiteral("Spelling: choose a dictionary")
                                : QStringLiteral("Spelling: no %1 dictionary installed")
                                      .arg(QString::fromStdString(std::string(name)));
        }
    }
    StatusLabel->setText(text);
    StatusLabel->setVisible(!text.isEmpty());
    // The count of the last pass stays until the next one has finished, so
    // that typing does not make the status bar jump.
    if (!shown || !d)
        form_.StatusBar1->setExtraCount(kCountName, -1);
    else if (passDone())
        form_.StatusBar1->setExtraCount(kCountName, passCount_);
    const bool running = shown && d && !passDone();
    if (running)
        Progress->setValue(passFlags_.empty() ? 0
                                              : static_cast<int>(100LL * passNext_ / static_cast<long long>(passFlags_.size())));
    Progress->setVisible(running);
}

void Spelling::changed()
{
    form_.SG1->viewport()->update();
    restartPass();
}

// ---------------------------------------------------------------------------
// Painting

void Spelling::drawUnderlines(QPainter& painter, int left, int baseline, std::string_view text, const QString& shown)
{
    const spell::SpellChecker* c = checker();
    if (!c || text.empty()) return;
    const spell::Misspellings found = c->check(text);
    if (found.empty()) return;
    const QFontMetrics fm = painter.fontMetrics();
    const int y = baseline + std::max(1, fm.descent() / 2);
    for (const spell::WordSpan& s : found) {
        const int x0 = left + fm.horizontalAdvance(shown, static_cast<int>(s.start));
        const int x1 = left + fm.horizontalAdvance(shown, static_cast<int>(s.start + s.length));
        drawWave(painter, x0, x1, y);
    }
}

// ---------------------------------------------------------------------------
// The pass over the whole table

bool Spelling::passDone() const
{
    return passDone_ && passGeneration_ == form_.document().generation() &&
           passFlags_.size() == static_cast<std::size_t>(form_.document().size());
}

void Spelling::restartPass()
{
    restartTimer_.stop();
    passFlags_.assign(static_cast<std::size_t>(form_.document().size()), 0);
    passNext_ = 0;
    passCount_ = 0;
    passGeneration_ = form_.document().generation();
    passDone_ = false;
    if (checker())
        sliceTimer_.start();
    else
        sliceTimer_.stop();
    showState();
}

void Spelling::runSlice()
{
    const TranslationDocument& doc = form_.document();
    spell::SpellChecker* c = checker();
    if (!c) return;
    // Rows changed under the pass: it starts again.
    if (passGeneration_ != doc.generation() || passFlags_.size() != static_cast<std::size_t>(doc.size())) {
        restartPass();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const int rows = doc.size();
    while (passNext_ < rows) {
        const int end = std::min(rows, passNext_ + kRowsPerLook);
        for (; passNext_ < end; ++passNext_) {
            const bool wrong = c->misspelled(doc.entry(passNext_).dest);
            passFlags_[static_cast<std::size_t>(passNext_)] = wrong;
            passCount_ += wrong;
        }
        if (clock.elapsed() >= kSliceMs) break;
    }
    passDone_ = passNext_ >= rows;
    if (!passDone_) sliceTimer_.start();
    showState();
}

void Spelling::finishPass()
{
    waitForDictionary();
    if (!passDone() && checker() && passGeneration_ != form_.document().generation()) restartPass();
    while (sliceTimer_.isActive() && !passDone_) {
        sliceTimer_.stop();
        runSlice();
    }
}

// ---------------------------------------------------------------------------
// Navigation

bool Spelling::goToMisspelled(int step)
{
    spell::SpellChecker* c = checker();
    const TranslationDocument& doc = form_.document();
    if (!c) {
        form_.StatusBar1->showNote(!enabled_  ? QStringLiteral("Spelling is not checked")
                                   : loading() ? QStringLiteral("Spelling: %1 loading\u2026").arg(QString::fromStdString(current_))
                                               : QStringLiteral("Spelling: no dictionary for these texts"));
        return false;
    }
    // What the pass found, where it has gone over the rows as they are.
    const bool known = passDone();
    auto misspelled = [&](int i) {
        return known ? passFlags_[static_cast<std::size_t>(i)] != 0 : c->misspelled(doc.entry(i).dest);
    };
    if (!form_.GoToRow(misspelled, step > 0, QStringLiteral("misspelled row"))) return false;
    // The first misspelled word is selected in the destination editor.
    const int index = form_.currentEntry();
    QLineEdit* editor = form_.SG1->editor();
    if (index >= 0 && editor) {
        const spell::Misspellings found = c->check(doc.entry(index).dest);
        if (!found.empty())
            editor->setSelection(static_cast<int>(found.front().start), static_cast<int>(found.front().length));
    }
    return true;
}

// ---------------------------------------------------------------------------
// The context menu

Spelling::Hit Spelling::hitAt(QWidget* widget, const QPoint& pos, bool atCaret)
{
    Hit hit;
    spell::SpellChecker* c = checker();
    StringGrid& g = *form_.SG1;
    if (!c || !widget) return hit;
    int col = -1, row = -1, at = -1;
    if (widget == g.viewport()) {
        const QPoint p = widget->mapTo(&g, pos);
        if (!g.cellAt(p, col, row) || col != tcol::kDest) return hit;
        const TranslationView& view = form_.translationView();
        const Entry* e = view.entryAt(row);
        if (!e) return hit;
        // Where the text is drawn, as the table paints it.
        const int x = p.x() - (g.cellRect(col, row).left() + 2);
        const QString shown = decodeBytes(e->dest);
        const QFontMetrics fm(form_.destFont.font());
        for (const spell::WordSpan& s : c->check(e->dest)) {
            const int x0 = fm.horizontalAdvance(shown, static_cast<int>(s.start));
            const int x1 = fm.horizontalAdvance(shown, static_cast<int>(s.start + s.length));
            if (x >= x0 && x <= x1) return {view.indexAt(row), s};
        }
        return hit;
    }
    auto* editor = qobject_cast<QLineEdit*>(widget);
    if (!editor || editor != g.editor() || g.col() != tcol::kDest) return hit;
    row = g.row();
    const TranslationView& view = form_.translationView();
    const Entry* e = view.entryAt(row);
    // The editor holds the text without the blanks that pad a fixed length.
    if (!e || encodeText(editor->text()) != withoutPadding(e->rule, e->dest)) return hit;
    at = atCaret ? editor->cursorPosition() : editor->cursorPositionAt(pos);
    const spell::Misspellings found = c->check(e->dest);
    if (const spell::WordSpan* s = spanHolding(found, at)) return {view.indexAt(row), *s};
    return hit;
}

std::unique_ptr<QMenu> Spelling::contextMenu(QWidget* widget, const QPoint& pos, bool atCaret)
{
    const Hit hit = hitAt(widget, pos, atCaret);
    spell::SpellChecker* c = checker();
    if (hit.index < 0 || !c) return nullptr;
    const Entry& e = form_.document().entry(hit.index);
    const std::string word = spell::wordAt(e.dest, hit.span);
    // The caller owns the menu; it has no parent that could delete it first.
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName("SpellingMenu");
    const std::vector<std::string> suggestions = c->suggest(word);
    for (const std::string& s : suggestions) {
        QAction* a = menu->addAction(decodeBytes(s));
        a->setObjectName("suggestion");
        // A fixed-length text cannot grow past its base text.
        const std::string replaced = spell::replaceWord(withoutPadding(e.rule, e.dest), hit.span, s);
        if (e.rule == LengthRule::Fixed && replaced.size() > e.base.size()) {
            a->setEnabled(false);
            a->setText(a->text() + QStringLiteral(" (too long)"));
        }
        connect(a, &QAction::triggered, this, [this, hit, s] { replaceWord(hit, s); });
    }
    if (suggestions.empty()) menu->addAction(QStringLiteral("(no suggestions)"))->setEnabled(false);
    menu->addSeparator();
    QAction* ignore = menu->addAction(QStringLiteral("Ignore"));
    ignore->setObjectName("Ignore1");
    connect(ignore, &QAction::triggered, this, [this, word] { ignoreWord(word); });
    QAction* add = menu->addAction(QStringLiteral("Add to dictionary"));
    add->setObjectName("Addtodictionary1");
    connect(add, &QAction::triggered, this, [this, word] { addWord(word); });
    if (auto* editor = qobject_cast<QLineEdit*>(widget)) {
        // The editor's own entries (undo, cut, copy, paste, ...) follow.
        QMenu* standard = editor->createStandardContextMenu();
        standard->setParent(menu.get(), standard->windowFlags());
        menu->addSeparator();
        menu->addActions(standard->actions());
    }
    return menu;
}

void Spelling::replaceWord(const Hit& hit, const std::string& suggestion)
{
    TranslationDocument& doc = form_.document();
    if (hit.index >= doc.size()) return;
    const Entry& e = doc.entry(hit.index);
    const std::string_view text = withoutPadding(e.rule, e.dest);
    if (hit.span.start + hit.span.length > text.size()) return;
    form_.pushEdit(SetDestinations::one(doc, hit.index, spell::replaceWord(text, hit.span, suggestion)));
}

void Spelling::ignoreWord(const std::string& word)
{
    if (spell::SpellChecker* c = checker()) c->ignore(word);
    changed();
}

void Spelling::addWord(const std::string& word)
{
    spell::SpellChecker* c = checker();
    if (!c) return;
    const WriteResult written = c->addToPersonal(word);
    if (!written)
        form_.ShowMessage(MsgIcon::Error, "Cannot add \"" + word + "\" to the word list " + c->personalList() +
                                              ":\n" + written.error);
    changed();
}

bool Spelling::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ContextMenu) return false;
    StringGrid& g = *form_.SG1;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != g.viewport() && widget != g.editor())) return false;
    auto* e = static_cast<QContextMenuEvent*>(event);
    // From the keyboard in the editor: the word at the caret.
    const bool atCaret = e->reason() == QContextMenuEvent::Keyboard && widget == g.editor();
    std::unique_ptr<QMenu> menu = contextMenu(widget, e->pos(), atCaret);
    if (!menu) return false;
    menu->exec(e->globalPos());
    return true;
}

}  // namespace tov
