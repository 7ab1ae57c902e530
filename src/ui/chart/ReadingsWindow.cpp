#include "chart/ReadingsWindow.h"

#include "chart/EventMarks.h"
#include "readings/CsvExport.h"
#include "readings/ReadingsModel.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString clockText(double seconds)
{
    const auto whole = static_cast<long long>(std::max(seconds, 0.0));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600, 2, 10, QLatin1Char('0'))
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

const char* const kCsvFilter = QT_TRANSLATE_NOOP("ReadingsWindow", "Таблицы CSV (*.csv);;Все файлы (*)");

// Files are saved among the user's documents, not wherever the program was started.
QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

// A name typed without an extension gets the one of its kind.
QString withSuffix(const QString& path, const QString& suffix)
{
    return path.isEmpty() || !QFileInfo(path).suffix().isEmpty() ? path : path + u'.' + suffix;
}

QString askSaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& suffix,
    QFileDialog::Options options = {})
{
    return withSuffix(QFileDialog::getSaveFileName(parent, title, documentsFolder(), filter, nullptr, options), suffix);
}

} // namespace

ReadingsWindow::ReadingsWindow(ReadingsModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , model_(model)
    , chart_(new ReadingsChart(model.history(), this))
{
    setWindowTitle(tr("Графики"));
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(createMenu());
    layout->addLayout(createSpanRow());
    layout->addWidget(chart_, 1);
    layout->addWidget(createPointer());
    layout->addWidget(createMarksLegend(), 0, Qt::AlignRight);
    layout->addLayout(createCounterRow());
    recording_ = new QLabel(this);
    recording_->setObjectName(QStringLiteral("recordingStatus"));
    recording_->setWordWrap(true);
    layout->addWidget(recording_);

    connect(chart_, &ReadingsChart::pointed, pointer_, &QLabel::setText);
    connect(chart_, &ReadingsChart::followingChanged, follow_, &QAbstractButton::setChecked);
    connect(&model_, &ReadingsModel::recordingChanged, this, &ReadingsWindow::showRecording);
    connect(&model_, &ReadingsModel::recordingFailed, this, &ReadingsWindow::showFailure);
    connect(&model_, &ReadingsModel::countersReset, this, &ReadingsWindow::showCounters);
    connect(&model_, &ReadingsModel::fullScaleChanged, chart_, &ReadingsChart::setFullScale);
    connect(&model_, &ReadingsModel::readingAdded, this, [this] {
        chart_->historyChanged();
        if (isVisible()) {
            showCounters();
        }
    });
    chart_->setFullScale(model_.voltageFullScale(), model_.currentFullScale());
    chart_->historyChanged();
    showCounters();
    showRecording();
    resize(900, 600);
}

QMenuBar* ReadingsWindow::createMenu()
{
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(tr("&Файл"));
    file->addAction(tr("Начать запись в CSV…"), this, &ReadingsWindow::chooseRecordingFile);
    stopAction_ = file->addAction(tr("Остановить запись"), &model_, &ReadingsModel::stopRecording);
    file->addSeparator();
    file->addAction(tr("Сохранить график в PNG…"), this, &ReadingsWindow::choosePngFile);
    file->addAction(tr("Экспорт данных в CSV…"), this, &ReadingsWindow::chooseExportFile);
    file->addSeparator();
    file->addAction(tr("Закрыть"), QKeySequence::Close, this, &QWidget::close);
    QMenu* view = bar->addMenu(tr("&Вид"));
    QAction* fullScale = view->addAction(tr("Полная шкала"));
    fullScale->setObjectName(QStringLiteral("fullScale"));
    fullScale->setCheckable(true);
    connect(fullScale, &QAction::toggled, chart_, &ReadingsChart::setFullScaleShown);
    return bar;
}

QLayout* ReadingsWindow::createSpanRow()
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Показать:"), this));
    spans_ = new QButtonGroup(this);
    const std::pair<const char*, ReadingsChart::Span> choices[] = {
        {QT_TR_NOOP("1 мин"), ReadingsChart::Span::OneMinute}, {QT_TR_NOOP("10 мин"), ReadingsChart::Span::TenMinutes},
        {QT_TR_NOOP("1 ч"), ReadingsChart::Span::OneHour}, {QT_TR_NOOP("Всё"), ReadingsChart::Span::All}};
    for (const auto& [label, span] : choices) {
        auto* button = new QToolButton(this);
        button->setText(tr(label));
        button->setObjectName(QStringLiteral("span%1").arg(static_cast<int>(span)));
        button->setCheckable(true);
        button->setChecked(span == chart_->span());
        spans_->addButton(button, static_cast<int>(span));
        row->addWidget(button);
    }
    connect(spans_, &QButtonGroup::idClicked, this,
        [this](int id) { chart_->setSpan(static_cast<ReadingsChart::Span>(id)); });
    connect(chart_, &ReadingsChart::spanChanged, this,
        [this](ReadingsChart::Span span) { spans_->button(static_cast<int>(span))->setChecked(true); });
    follow_ = new QToolButton(this);
    follow_->setObjectName(QStringLiteral("follow"));
    follow_->setText(tr("Следить за новыми"));
    follow_->setCheckable(true);
    follow_->setChecked(true);
    follow_->setToolTip(tr("Колесо мыши меняет масштаб времени, с Ctrl — масштаб значений; "
                           "перетаскивание сдвигает график и снимает слежение"));
    connect(follow_, &QAbstractButton::clicked, chart_, &ReadingsChart::setFollowing);
    row->addWidget(follow_);
    row->addStretch(1);
    record_ = new QPushButton(this);
    record_->setObjectName(QStringLiteral("record"));
    connect(record_, &QAbstractButton::clicked, this, &ReadingsWindow::toggleRecording);
    row->addWidget(record_);
    return row;
}

QLabel* ReadingsWindow::createPointer()
{
    pointer_ = new QLabel(this);
    pointer_->setObjectName(QStringLiteral("pointer"));
    pointer_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A line of its own whose width the text does not ask for: however long
    // the reading, the window keeps its size.
    pointer_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return pointer_;
}

QLabel* ReadingsWindow::createMarksLegend()
{
    using Kind = ReadingHistory::EventKind;
    const std::pair<Kind, const char*> kinds[]
        = {{Kind::SetpointChange, QT_TR_NOOP("уставка")}, {Kind::OutputOn, QT_TR_NOOP("выход вкл.")},
            {Kind::OutputOff, QT_TR_NOOP("выход выкл.")}, {Kind::LinkLost, QT_TR_NOOP("нет связи")},
            {Kind::ProgramStep, QT_TR_NOOP("шаг программы")}, {Kind::Trip, QT_TR_NOOP("защита")}};
    QString legend = tr("Отметки:");
    for (const auto& [kind, name] : kinds) {
        legend += QStringLiteral(" <span style=\"color:%1\">&#9646;</span> %2")
                      .arg(EventMarks::color(kind).name(), tr(name));
    }
    return new QLabel(legend, this);
}

QLayout* ReadingsWindow::createCounterRow()
{
    auto* row = new QHBoxLayout;
    const auto label = [this](const char* name) {
        auto* created = new QLabel(this);
        created->setObjectName(QString::fromLatin1(name));
        return created;
    };
    ampereHours_ = label("ampereHours");
    wattHours_ = label("wattHours");
    outputOnTime_ = label("outputOnTime");
    row->addWidget(ampereHours_);
    row->addWidget(wattHours_);
    row->addWidget(outputOnTime_);
    row->addStretch(1);
    auto* reset = new QPushButton(tr("Сбросить счётчики"), this);
    reset->setObjectName(QStringLiteral("resetCounters"));
    connect(reset, &QPushButton::clicked, &model_, &ReadingsModel::resetCounters);
    row->addWidget(reset);
    return row;
}

void ReadingsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    showCounters();
}

void ReadingsWindow::showCounters()
{
    const ChargeCounters& counters = model_.counters();
    ampereHours_->setText(tr("Заряд: %1 А·ч").arg(counters.ampereHours(), 0, 'f', 3));
    wattHours_->setText(tr("Энергия: %1 Вт·ч").arg(counters.wattHours(), 0, 'f', 3));
    outputOnTime_->setText(tr("Выход включён: %1").arg(clockText(counters.outputOnSeconds())));
}

bool ReadingsWindow::recordTo(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists() || file.size() == 0) {
        return model_.startRecording(path, CsvRecorder::Mode::Append);
    }
    QMessageBox question(QMessageBox::Question, tr("Запись в CSV"),
        tr("Файл «%1» уже существует. Дописать в конец файла?").arg(file.fileName()),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    question.button(QMessageBox::Yes)->setText(tr("Дописать"));
    question.button(QMessageBox::No)->setText(tr("Перезаписать"));
    question.button(QMessageBox::Cancel)->setText(tr("Отмена"));
    question.setDefaultButton(QMessageBox::Yes);
    switch (question.exec()) {
    case QMessageBox::Yes:
        return model_.startRecording(path, CsvRecorder::Mode::Append);
    case QMessageBox::No:
        return model_.startRecording(path, CsvRecorder::Mode::Overwrite);
    default:
        return false;
    }
}

void ReadingsWindow::toggleRecording()
{
    if (model_.isRecording()) {
        model_.stopRecording();
    } else {
        chooseRecordingFile();
    }
}

void ReadingsWindow::showRecording()
{
    const bool on = model_.isRecording();
    record_->setText(on ? tr("Остановить запись") : tr("Начать запись…"));
    stopAction_->setEnabled(on);
    recording_->setStyleSheet(QString());
    recording_->setText(on ? tr("Запись в файл %1").arg(model_.recorder().path()) : tr("Запись не ведётся"));
}

void ReadingsWindow::showFailure(const QString& message)
{
    recording_->setStyleSheet(QStringLiteral("color: #b00000"));
    recording_->setText(message);
    // Not modal: the controller and its windows go on while the message waits.
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Графики"), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

bool ReadingsWindow::savePng(const QString& path)
{
    showCounters();
    QStringList title{chart_->shownPeriod()};
    if (!model_.modelName().isEmpty()) {
        title << model_.modelName();
    }
    title << ampereHours_->text() << wattHours_->text() << outputOnTime_->text();
    return chart_->savePng(path, title.join(QStringLiteral("   ")));
}

bool ReadingsWindow::exportCsv(const QString& path)
{
    const QString error = CsvExport::write(model_.history(), path);
    if (!error.isEmpty()) {
        QMessageBox::warning(this, tr("Экспорт данных"), error);
    }
    return error.isEmpty();
}

void ReadingsWindow::open()
{
    show();
    raise();
    activateWindow();
}

void ReadingsWindow::fillQuickMenu(QMenu& menu)
{
    menu.addAction(tr("Графики…"), this, &ReadingsWindow::open);
    menu.addAction(model_.isRecording() ? tr("Остановить запись в CSV") : tr("Запись в CSV…"), this,
        &ReadingsWindow::toggleRecording);
    menu.addAction(tr("Сбросить счётчики"), &model_, &ReadingsModel::resetCounters);
}

void ReadingsWindow::chooseRecordingFile()
{
    const QString path = askSaveFile(
        this, tr("Запись в CSV"), tr(kCsvFilter), QStringLiteral("csv"), QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty()) {
        recordTo(path);
    }
}

void ReadingsWindow::choosePngFile()
{
    const QString path = askSaveFile(this, tr("Сохранить график"), tr("Рисунки PNG (*.png)"), QStringLiteral("png"));
    if (!path.isEmpty() && !savePng(path)) {
        QMessageBox::warning(this, tr("Сохранить график"), tr("Не удалось сохранить «%1».").arg(path));
    }
}

void ReadingsWindow::chooseExportFile()
{
    const QString path = askSaveFile(this, tr("Экспорт данных"), tr(kCsvFilter), QStringLiteral("csv"));
    if (!path.isEmpty()) {
        exportCsv(path);
    }
}
