#include "chart/ReadingsWindow.h"
#include "chart/EventMarks.h"
#include "readings/CsvLine.h"
#include "readings/ReadingsModel.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

using namespace std::chrono_literals;

namespace {

const std::chrono::system_clock::time_point kStart = std::chrono::sys_days{std::chrono::year{2024} / 5 / 3} + 9h;
const std::chrono::steady_clock::time_point kBoot = std::chrono::steady_clock::time_point(5h);

Reading reading(std::chrono::milliseconds at, double amperes = 2.0, bool outputOn = true)
{
    Reading reading;
    reading.time = kStart + at;
    reading.monotonic = kBoot + at;
    reading.linked = true;
    reading.voltage = 12.0;
    reading.current = amperes;
    reading.voltageRegulated = true;
    reading.outputOn = outputOn;
    reading.setVoltage = 12.0;
    reading.setCurrent = 3.0;
    return reading;
}

// The time axis's key of a reading.
double key(std::chrono::milliseconds at)
{
    return std::chrono::duration<double>((kBoot + at).time_since_epoch()).count();
}

// Answers the next modal message box with the button of that text.
class MessageBoxAnswer {
public:
    explicit MessageBoxAnswer(const char* button)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, answer = QString::fromUtf8(button)] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                question_ = box->text();
                for (QAbstractButton* candidate : box->buttons()) {
                    if (candidate->text() == answer) {
                        candidate->click();
                    }
                }
            }
        });
        timer_.start();
    }
    QString question() const { return question_; }

private:
    QTimer timer_;
    QString question_;
};

class ReadingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override { model.setFullScale(30.0, 5.0); }

    QCustomPlot& plot() { return *window.chart().plot(); }
    int points() { return plot().graph(0)->dataCount(); }
    QString label(const char* name) { return window.findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    void showWindow()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void addMinutes(int minutes)
    {
        for (int i = 0; i < minutes * 150; ++i) {
            model.addReading(reading(i * 400ms));
        }
    }
    QToolButton* span(const char* name) { return window.findChild<QToolButton*>(QString::fromLatin1(name)); }
    QString file(const char* name) const { return directory.filePath(QString::fromUtf8(name)); }

    QTemporaryDir directory;
    ReadingsModel model;
    ReadingsWindow window{model};
};

} // namespace

TEST_F(ReadingsWindowTest, IsASeparateWindowThatCountsButDrawsNothingWhileHidden)
{
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Графики"));
    EXPECT_TRUE(window.isWindow());
    EXPECT_FALSE(window.isModal());
    addMinutes(2);
    EXPECT_EQ(model.history().size(), 300U);
    EXPECT_NEAR(model.counters().ampereHours(), 2.0 * 299 * 0.4 / 3600, 1e-15);
    EXPECT_EQ(points(), 0);

    showWindow();
    EXPECT_GT(points(), 0);
    EXPECT_EQ(label("ampereHours"), QString::fromUtf8("Заряд: 0.066 А·ч"));
    EXPECT_EQ(label("wattHours"), QString::fromUtf8("Энергия: 0.797 Вт·ч"));
    EXPECT_EQ(label("outputOnTime"), QString::fromUtf8("Выход включён: 00:01:59"));

    window.findChild<QPushButton*>(QStringLiteral("resetCounters"))->click();
    EXPECT_EQ(label("outputOnTime"), QString::fromUtf8("Выход включён: 00:00:00"));
    window.close();
    model.addReading(reading(125s));
    EXPECT_EQ(model.history().size(), 301U) << "closing only hides it";
    EXPECT_NEAR(model.counters().outputOnSeconds(), 5.4, 1e-9) << "reset, then counting on";
}

TEST_F(ReadingsWindowTest, FollowsTheNewestReadingUntilTheUserMovesTheChart)
{
    showWindow();
    // Until there are more than ten minutes, all of them from the first
    // reading on, never less than a minute; then the newest ten.
    struct Shown {
        std::chrono::milliseconds newest, lower, upper;
        const char* span;
    };
    const Shown steps[] = {{10s, 0s, 60s, "span3"}, {90s, 0s, 90s, "span3"}, {10min, 0s, 10min, "span3"},
        {20min - 400ms, 10min - 400ms, 20min - 400ms, "span1"}};
    auto at = 0ms;
    for (const Shown& step : steps) {
        for (; at <= step.newest; at += 400ms) {
            model.addReading(reading(at));
        }
        EXPECT_DOUBLE_EQ(plot().xAxis->range().lower, key(step.lower)) << step.newest.count();
        EXPECT_DOUBLE_EQ(plot().xAxis->range().upper, key(step.upper)) << step.newest.count();
        EXPECT_TRUE(span(step.span)->isChecked()) << step.newest.count();
    }
    const double newest = key(20min - 400ms);

    span("span0")->click();
    EXPECT_DOUBLE_EQ(plot().xAxis->range().size(), 60.0);
    window.chart().setSpan(ReadingsChart::Span::OneHour);
    EXPECT_TRUE(span("span2")->isChecked());
    span("span3")->click();
    EXPECT_DOUBLE_EQ(plot().xAxis->range().lower, key(0ms));
    EXPECT_DOUBLE_EQ(plot().xAxis->range().upper, newest);
    EXPECT_LE(points(), 5 * plot().axisRect()->width() + 10) << "a few points per pixel column, not every sample";

    const QPoint middle = plot().axisRect()->rect().center();
    QWheelEvent wheel(
        middle, plot().mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&plot(), &wheel);
    const auto* follow = window.findChild<QToolButton*>(QStringLiteral("follow"));
    EXPECT_FALSE(follow->isChecked());
    const QCPRange zoomed = plot().xAxis->range();
    EXPECT_LT(zoomed.size(), 1200.0);
    model.addReading(reading(20min));
    EXPECT_EQ(plot().xAxis->range(), zoomed) << "paused: new readings leave the view alone";

    QTest::mouseClick(const_cast<QToolButton*>(follow), Qt::LeftButton);
    EXPECT_TRUE(follow->isChecked());
    EXPECT_DOUBLE_EQ(plot().xAxis->range().upper, key(20min));
}

// Before the first reading the time axis starts now, where the readings will
// come, and each value axis shows its whole scale: the model's, or a unit one.
TEST_F(ReadingsWindowTest, WithoutReadingsTheAxesShowTheirWholeScale)
{
    const double now = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    ReadingsModel unknownModel;
    ReadingsWindow unknown(unknownModel);
    const std::pair<ReadingsWindow*, std::vector<double>> cases[]
        = {{&window, {30.0, 5.0, 150.0}}, {&unknown, {1.0, 1.0, 1.0}}};
    for (const auto& [shown, uppers] : cases) {
        shown->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shown));
        const QCustomPlot& chart = *shown->chart().plot();
        EXPECT_NEAR(chart.xAxis->range().lower, now, 5.0);
        EXPECT_DOUBLE_EQ(chart.xAxis->range().size(), 60.0);
        const QCPAxis* axes[] = {chart.yAxis, chart.yAxis2, chart.axisRect()->axis(QCPAxis::atRight, 1)};
        for (std::size_t i = 0; i < uppers.size(); ++i) {
            EXPECT_EQ(std::pair(axes[i]->range().lower, axes[i]->range().upper), std::pair(0.0, uppers[i]))
                << axes[i]->label().toStdString();
        }
    }
}

// 12 V and 2 A fill their axes with a tenth to spare; Ctrl and the wheel zoom
// the values, not the time; the full scale is a choice.
TEST_F(ReadingsWindowTest, ValueAxesFitTheCurvesUnlessAskedOtherwise)
{
    QLocale::setDefault(QLocale(QLocale::Russian));
    ReadingsModel russianModel;
    ReadingsWindow russian(russianModel);
    QLocale::setDefault(QLocale::c());
    russianModel.setFullScale(30.0, 5.0);
    russian.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&russian));
    for (int i = 0; i < 100; ++i) {
        russianModel.addReading(reading(i * 400ms));
    }
    QCustomPlot& chart = *russian.chart().plot();
    const auto uppers = [&chart] {
        return std::vector{chart.yAxis->range().upper, chart.yAxis2->range().upper,
            chart.axisRect()->axis(QCPAxis::atRight, 1)->range().upper};
    };
    const std::vector fitted{13.2, 2.2, 26.4};
    for (std::size_t i = 0; i < fitted.size(); ++i) {
        EXPECT_NEAR(uppers()[i], fitted[i], 1e-9) << i;
    }
    chart.replot();
    EXPECT_TRUE(chart.yAxis->tickVectorLabels().join(QString()).contains(u'.')) << "a point, as in the main window";

    const QCPRange time = chart.xAxis->range();
    const QPoint middle = chart.axisRect()->rect().center();
    QWheelEvent wheel(
        middle, chart.mapToGlobal(middle), {}, {0, 120}, Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &wheel);
    EXPECT_EQ(chart.xAxis->range(), time);
    EXPECT_LT(chart.yAxis->range().size(), 13.2);
    russianModel.addReading(reading(40s));
    EXPECT_LT(chart.yAxis->range().size(), 13.2) << "a zoom stays until followed again";

    russian.findChild<QAction*>(QStringLiteral("fullScale"))->trigger();
    EXPECT_EQ(uppers(), (std::vector{30.0, 5.0, 150.0}));
}

// 12 V and 2 A fill their axes alike, so the three curves lie on one line:
// along it the dashed power lets the current show between its dashes, and the
// wider voltage shows beside both.
TEST_F(ReadingsWindowTest, CurvesOnOneAnotherStayApart)
{
    showWindow();
    addMinutes(1);
    plot().replot();
    const QImage image = plot().toPixmap().toImage();
    const QRect inside = plot().axisRect()->rect().adjusted(1, 1, -1, -1);
    const auto drawn = [&](int graph, int x) {
        const QRgb color = plot().graph(graph)->pen().color().rgb();
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            if (image.pixel(x, y) == color) {
                return true;
            }
        }
        return false;
    };
    std::map<std::string, int> columns;
    for (int x = inside.left(); x <= inside.right(); ++x) {
        columns["voltage"] += drawn(0, x) ? 1 : 0;
        columns["power"] += drawn(2, x) ? 1 : 0;
        columns["current between dashes"] += drawn(1, x) && !drawn(2, x) ? 1 : 0;
    }
    for (const auto& [curve, count] : columns) {
        EXPECT_GT(count, inside.width() / 3) << curve;
    }
}

TEST_F(ReadingsWindowTest, LinkLossesAreGapsAndChangesAreMarked)
{
    showWindow();
    span("span0")->click();
    model.addReading(reading(0s, 1.0, false));
    model.addReading(reading(1s, 1.0, true));
    Reading lost;
    lost.time = kStart + 2s;
    lost.monotonic = kBoot + 2s;
    model.addReading(lost);
    Reading changed = reading(5s, 1.0, true);
    changed.setCurrent = 1.5;
    model.addReading(changed);
    model.addReading(reading(6s, 1.0, false));

    const auto& data = *plot().graph(1)->data();
    EXPECT_EQ(std::count_if(data.constBegin(), data.constEnd(),
                  [](const QCPGraphData& point) { return std::isnan(point.value); }),
        1);
    std::map<double, QColor> marks;
    for (int i = 0; i < plot().itemCount(); ++i) {
        if (auto* line = qobject_cast<QCPItemStraightLine*>(plot().item(i)); line != nullptr && line->visible()) {
            marks[line->point1->coords().x()] = line->pen().color();
        }
    }
    using Kind = ReadingHistory::EventKind;
    const std::map<double, QColor> expected{{key(1s), EventMarks::color(Kind::OutputOn)},
        {key(2s), EventMarks::color(Kind::LinkLost)}, {key(5s), EventMarks::color(Kind::SetpointChange)},
        {key(6s), EventMarks::color(Kind::OutputOff)}};
    EXPECT_EQ(marks, expected) << "at 6 s the output's mark wins over the setpoint's";
}

TEST_F(ReadingsWindowTest, ShowsTheReadingUnderThePointer)
{
    showWindow();
    span("span0")->click();
    for (int i = 0; i < 150; ++i) {
        model.addReading(reading(i * 400ms, i == 75 ? 4.25 : 2.0));
    }
    plot().replot(); // as on screen, where the queued replot lays the axes out
    const QSize windowSize = window.size();
    const QSize plotSize = plot().size();
    const QPoint at(static_cast<int>(plot().xAxis->coordToPixel(key(30s))), plot().axisRect()->rect().center().y());
    QTest::mouseMove(&plot(), at);
    EXPECT_TRUE(label("pointer").contains(QString::fromUtf8("12.00 В   4.25 А   51.00 Вт   CV   выход вкл.")))
        << label("pointer").toStdString();
    QCoreApplication::sendPostedEvents(); // the layout's answer to the longer text
    EXPECT_EQ(window.size(), windowSize) << "the window keeps the size it was given";
    EXPECT_EQ(plot().size(), plotSize);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&plot(), &leave);
    EXPECT_TRUE(label("pointer").isEmpty());
}

TEST_F(ReadingsWindowTest, OffersToAppendToAFileThatHasLines)
{
    std::ofstream(file("old.csv").toStdString()) << CsvLine::header();
    {
        const MessageBoxAnswer answer("Отмена");
        EXPECT_FALSE(window.recordTo(file("old.csv")));
        EXPECT_EQ(answer.question(), QString::fromUtf8("Файл «old.csv» уже существует. Дописать в конец файла?"));
    }
    EXPECT_FALSE(model.isRecording());
    {
        const MessageBoxAnswer answer("Дописать");
        EXPECT_TRUE(window.recordTo(file("old.csv")));
    }
    model.addReading(reading(0s));
    model.stopRecording();
    EXPECT_EQ(QFileInfo(file("old.csv")).size(),
        static_cast<qint64>(CsvLine::header().size() + CsvLine::format(reading(0s), 0.0).size()));
    {
        const MessageBoxAnswer answer("Перезаписать");
        EXPECT_TRUE(window.recordTo(file("old.csv")));
    }
    EXPECT_EQ(QFileInfo(file("old.csv")).size(), static_cast<qint64>(CsvLine::header().size()));
    EXPECT_TRUE(window.recordTo(file("new.csv"))) << "a new file needs no question";
}

// The command line is the user's answer: append, and say so, with nobody asked.
TEST_F(ReadingsWindowTest, RecordsFromTheCommandLineByAppending)
{
    std::ofstream(file("old.csv").toStdString()) << CsvLine::header();
    std::ostringstream notes;
    model.recordFromCommandLine(file("old.csv"), notes);
    EXPECT_TRUE(model.isRecording());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(notes.str(), "--record: appending to " + file("old.csv").toStdString() + "\n");
    model.addReading(reading(0s));
    EXPECT_EQ(QFileInfo(file("old.csv")).size(),
        static_cast<qint64>(CsvLine::header().size() + CsvLine::format(reading(0s), 0.0).size()));

    ReadingsModel second;
    std::ostringstream refusal;
    second.recordFromCommandLine(file("old.csv"), refusal);
    const std::string told
        = "--record: CSV recording stopped: another program is already recording to '" + file("old.csv").toStdString();
    EXPECT_TRUE(refusal.str().ends_with(told + "'.\n")) << "told, in English, where a screen may be missing";
}

TEST_F(ReadingsWindowTest, AFailedRecordingIsReportedAndTheWindowGoesOn)
{
    showWindow();
    QSignalSpy failures(&model, &ReadingsModel::recordingFailed);
    EXPECT_FALSE(model.startRecording(QStringLiteral("/dev/full"), CsvRecorder::Mode::Overwrite));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(label("recordingStatus").startsWith(QString::fromUtf8("Запись в CSV остановлена")));
    auto* box = window.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    box->close();
    model.addReading(reading(0s));
    EXPECT_EQ(model.history().size(), 1U);
}

TEST_F(ReadingsWindowTest, SavesAPictureAndTheDataEvenWhenNeverShown)
{
    addMinutes(1);
    ASSERT_TRUE(window.savePng(file("chart.png")));
    EXPECT_DOUBLE_EQ(plot().xAxis->range().lower, key(0ms)) << "the picture shows the readings";
    const QImage image(file("chart.png"));
    EXPECT_EQ(image.size(), QSize(1000, 600));
    ASSERT_TRUE(window.exportCsv(file("data.csv")));
    std::ifstream exported(file("data.csv").toStdString());
    EXPECT_EQ(std::count(std::istreambuf_iterator<char>(exported), std::istreambuf_iterator<char>(), '\n'), 151);
}
