// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ProgressCaptionBar.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <utility>

namespace app {

namespace {

// Screen readers get the bar's position as its value and the caption as its
// text; the caption is also its value text inside the process.
class CaptionAccessible : public QAccessibleWidget,
                          public QAccessibleValueInterface,
                          public QAccessibleTextInterface
{
public:
    explicit CaptionAccessible(ProgressCaptionBar *bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar)
    {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return caption();
        return QAccessibleWidget::text(kind);
    }

    // QAccessibleValueInterface: the bar's position, read only.
    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

    // QAccessibleTextInterface: the caption, read only, without a cursor.
    QString text(int startOffset, int endOffset) const override
    {
        const QString shown = caption();
        const int start = qBound(0, startOffset, int(shown.size()));
        const int end =
            endOffset < 0 ? int(shown.size()) : qBound(start, endOffset, int(shown.size()));
        return shown.mid(start, end - start);
    }
    int characterCount() const override { return int(caption().size()); }
    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }

private:
    const ProgressCaptionBar *bar() const
    {
        return static_cast<const ProgressCaptionBar *>(widget());
    }
    QString caption() const { return bar()->caption(); }
};

QAccessibleInterface *captionAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(ProgressCaptionBar::staticMetaObject.className()))
        return new CaptionAccessible(static_cast<ProgressCaptionBar *>(object));
    return nullptr;
}

} // namespace

ProgressCaptionBar::ProgressCaptionBar(QWidget *parent)
    : QProgressBar(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(&captionAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void ProgressCaptionBar::setPosition(int value)
{
    if (value == this->value())
        return;
    // Held back, the paint setValue() asks for comes with the update that
    // enabling updates again schedules.
    setUpdatesEnabled(false);
    setValue(value);
    setUpdatesEnabled(true);
}

void ProgressCaptionBar::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    const QString previous = std::exchange(m_caption, caption);
    update();
    // Readers hear the new caption as a change of the text and of the value.
    QAccessibleTextUpdateEvent textChanged(this, 0, previous, caption);
    QAccessible::updateAccessibility(&textChanged);
    QAccessibleValueChangeEvent valueChanged(this, caption);
    QAccessible::updateAccessibility(&valueChanged);
}

} // namespace app
