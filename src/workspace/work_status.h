// The status bar of the main window: how many rows the document has, how many
// are translated, missing, too long (or of the wrong length), changed, and
// how many the text checks flag; and a short message that goes by itself.
//
// It reads the document's counts, which are kept as rows change, and is
// brought up to date at most once per turn of the event loop, so that typing
// costs it nothing but a few label texts.
#pragma once

#include <QLabel>
#include <QStatusBar>
#include <QString>
#include <QTimer>
#include <map>

#include "document/document.h"

namespace tov {

class WorkStatus : public QStatusBar {
    Q_OBJECT
public:
    WorkStatus(const TranslationDocument& doc, QWidget* parent = nullptr);

    // The document changed: the figures follow on the next turn of the event loop.
    void scheduleUpdate();
    // Brings the figures up to date now.
    void updateCounts();
    // Whether the lengths are fixed (firmware: "wrong length") or a maximum
    // ("too long"), or not kept at all (menu files).
    enum class Lengths { Maximum, Fixed, None };
    void setLengths(Lengths lengths);
    // A further count shown after the others ("Misspelled: 3"); a negative
    // count takes it away again.
    void setExtraCount(const QString& name, int count);
    // A message shown for a few seconds (the navigation's "Went round to the first row").
    void showNote(const QString& text);

    // The labels, for the window's tests.
    QLabel* Rows = nullptr;
    QLabel* Translated = nullptr;
    QLabel* Missing = nullptr;
    QLabel* Length = nullptr;
    QLabel* Changed = nullptr;
    QLabel* FormatErrors = nullptr;
    QLabel* Warnings = nullptr;

private:
    QLabel* addCount(const char* name);

    const TranslationDocument& doc_;
    Lengths lengths_ = Lengths::Maximum;
    QTimer update_;
    std::map<QString, QLabel*> extra_;
};

}  // namespace tov
