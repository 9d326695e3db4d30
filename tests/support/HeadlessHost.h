#pragma once

#include "engine/ConversionHost.h"
#include "engine/Pointer.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// A window for the conversion run without widgets: a number list, the five
// options, the run button's caption, and recordings of what the run showed.
// Items are numbered from 1; numberText throws the Failure a vanished list
// item gives.
class HeadlessHost : public engine::ConversionHost
{
public:
    HeadlessHost();

    // Window state the run reads.
    QStringList numbers;
    QString caption = QStringLiteral("Start Converting");
    bool options[5] = {false, true, false, false, true}; // [1]..[4]; Option1 and Option4 set
    int check1 = 0;

    // What the run did.
    QStringList results;
    QStringList reports;
    engine::Pointer pointer = engine::Pointer::Default;
    QList<engine::Pointer> pointerHistory;
    double progressValue = 0;
    QList<double> progressValues;
    QString progressText = QStringLiteral("Progress Bar");
    // Every caption text, unless recordProgressTexts is false (long runs).
    QStringList progressTexts;
    bool recordProgressTexts = true;
    qint64 progressTextCount = 0;
    QStringList captionHistory;
    qint64 yields = 0;
    int clears = 0;
    // Runs at each yield: lets a test click, remove items or change options
    // "during" the run.
    std::function<void()> onYield;

    void setMnemonic(bool wordsAndNumbers, bool wordsOnly);
    void setSpelledOut();

    // engine::ConversionHost
    QString runButtonCaption() const override { return caption; }
    void setRunButtonCaption(const QString &text) override;
    int numberCount() const override { return int(numbers.size()); }
    QString numberText(int index) const override;
    void clearResults() override;
    void appendResult(const QString &line) override { results.append(line); }
    bool option(int number) const override;
    int check1Value() const override { return check1; }
    void setPointer(engine::Pointer value) override;
    void yield() override;
    void setProgressValue(double value) override;
    void setProgressText(const QString &text) override;
    void showErrorReport(const QString &text) override { reports.append(text); }
};
