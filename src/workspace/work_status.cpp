#include "workspace/work_status.h"

namespace tov {

namespace {

void setIfChanged(QLabel* label, const QString& text)
{
    if (label->text() != text) label->setText(text);
}

}  // namespace

WorkStatus::WorkStatus(const TranslationDocument& doc, QWidget* parent) : QStatusBar(parent), doc_(doc)
{
    setObjectName("StatusBar1");
    setSizeGripEnabled(false);
    Rows = addCount("StatusRows");
    Translated = addCount("StatusTranslated");
    Missing = addCount("StatusMissing");
    Length = addCount("StatusLength");
    Changed = addCount("StatusChanged");
    FormatErrors = addCount("StatusFormatErrors");
    Warnings = addCount("StatusWarnings");
    update_.setSingleShot(true);
    update_.setInterval(0);
    connect(&update_, &QTimer::timeout, this, [this] { updateCounts(); });
    updateCounts();
}

QLabel* WorkStatus::addCount(const char* name)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    addPermanentWidget(label);
    return label;
}

void WorkStatus::scheduleUpdate()
{
    if (!update_.isActive()) update_.start();
}

void WorkStatus::setLengths(Lengths lengths)
{
    if (lengths_ == lengths) return;
    lengths_ = lengths;
    updateCounts();
}

void WorkStatus::updateCounts()
{
    const Counts& c = doc_.counts();
    setIfChanged(Rows, QStringLiteral("Rows: %1").arg(c.rows));
    setIfChanged(Translated, QStringLiteral("Translated: %1").arg(c.translated));
    setIfChanged(Missing, QStringLiteral("Missing: %1").arg(c.missing));
    switch (lengths_) {
    case Lengths::Maximum: setIfChanged(Length, QStringLiteral("Too long: %1").arg(c.tooLong)); break;
    case Lengths::Fixed: setIfChanged(Length, QStringLiteral("Wrong length: %1").arg(c.lengthDiffers)); break;
    case Lengths::None: setIfChanged(Length, QString()); break;
    }
    Length->setVisible(lengths_ != Lengths::None);
    setIfChanged(Changed, QStringLiteral("Changed: %1").arg(c.changed));
    setIfChanged(FormatErrors, QStringLiteral("Format errors: %1").arg(c.formatErrors));
    setIfChanged(Warnings, QStringLiteral("Warnings: %1").arg(c.checkWarnings));
}

void WorkStatus::setExtraCount(const QString& name, int count)
{
    auto it = extra_.find(name);
    if (count < 0) {
        if (it != extra_.end()) {
            delete it->second;
            extra_.erase(it);
        }
        return;
    }
    if (it == extra_.end()) it = extra_.emplace(name, addCount("StatusExtra")).first;
    setIfChanged(it->second, QStringLiteral("%1: %2").arg(name).arg(count));
}

void WorkStatus::showNote(const QString& text)
{
    showMessage(text, 4000);
}

}  // namespace tov
