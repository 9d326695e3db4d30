// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/PushButtonAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeySequence>
#include <QPushButton>

namespace app {

namespace {

// The caption without its mnemonic marks: "&Start" reads "Start", "&&" "&".
QString withoutMnemonic(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

class PushButtonAccessible : public QAccessibleWidget
{
public:
    explicit PushButtonAccessible(QPushButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
        addControllingSignal(QLatin1String("clicked(bool)"));
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return withoutMnemonic(button()->text());
        if (kind == QAccessible::Accelerator)
            return QKeySequence::mnemonic(button()->text()).toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        state.defaultButton = button()->isDefault();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // Queued: a click that opens a dialog must not hold the reader's
        // call until the dialog closes.
        if (widget()->isEnabled())
            QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString &action) const override
    {
        if (action == pressAction() && !text(QAccessible::Accelerator).isEmpty())
            return {text(QAccessible::Accelerator)};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    QPushButton *button() const { return static_cast<QPushButton *>(widget()); }
};

QAccessibleInterface *pushButtonAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(QPushButton::staticMetaObject.className()))
        return nullptr;
    auto *button = qobject_cast<QPushButton *>(object);
    if (!button || button->menu() || button->isCheckable())
        return nullptr;
    return new PushButtonAccessible(button);
}

} // namespace

void installPushButtonAccessible()
{
    QAccessible::installFactory(&pushButtonAccessible); // once: Qt skips a factory it has
}

} // namespace app
