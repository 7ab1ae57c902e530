#include "programs/ProgramsWindow.h"

#include "controller/SupplyController.h"
#include "engine/ProgramEngine.h"
#include "engine/ProtectionWatch.h"
#include "program/ProgramFile.h"
#include "program/ProgramPlan.h"
#include "programs/ChargeDialog.h"
#include "programs/LimitsPanel.h"
#include "programs/PlanChart.h"
#include "programs/ProgramEditor.h"
#include "programs/ProgressView.h"
#include "programs/RunControls.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const char* const kJsonFilter = QT_TRANSLATE_NOOP("ProgramsWindow", "Программы (*.json);;Все файлы (*)");
const char* const kCsvFilter = QT_TRANSLATE_NOOP("ProgramsWindow", "Таблицы CSV (*.csv);;Все файлы (*)");
const QSize kPreferredSize(1240, 860);

// Programs live among the user's documents, not wherever the program was started.
QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

bool isCsv(const QString& path)
{
    return QFileInfo(path).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
}

// A name typed without an extension gets the one of its kind.
QString withSuffix(const QString& path, const QString& suffix)
{
    return path.isEmpty() || !QFileInfo(path).suffix().isEmpty() ? path : path + u'.' + suffix;
}

QGroupBox* boxed(const QString& title, QWidget* content, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

} // namespace

ProgramsWindow::ProgramsWindow(
    SupplyController& controller, ProgramEngine& engine, ProtectionWatch& protection, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , controller_(controller)
    , engine_(engine)
    , editor_(new ProgramEditor(this))
    , chart_(new PlanChart(this))
    , file_(new QLabel(this))
{
    setWindowTitle(tr("Программы"));
    file_->setObjectName(QStringLiteral("programFile"));
    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(boxed(tr("План"), chart_, lower));
    lower->addWidget(createSidePanel(engine, protection));
    lower->setStretchFactor(0, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(boxed(tr("Шаги"), editor_, split));
    split->addWidget(lower);
    split->setSizes({300, 520});
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(createMenu());
    layout->addWidget(file_);
    layout->addWidget(split, 1);

    connect(editor_, &ProgramEditor::edited, this, &ProgramsWindow::edited);
    connect(run_, &RunControls::refused, editor_, &ProgramEditor::selectStep);
    connect(&protection, &ProtectionWatch::cleared, run_, &RunControls::recheck);
    connect(&engine_, &ProgramEngine::stateChanged, this, &ProgramsWindow::followEngine);
    connect(&engine_, &ProgramEngine::stepStarted, editor_, &ProgramEditor::selectStep);
    connect(&engine_, &ProgramEngine::stepStarted, this, &ProgramsWindow::followRun);
    connect(&engine_, &ProgramEngine::progressed, this, &ProgramsWindow::followRun);
    // Heard before identified() says so.
    connect(&controller_, &SupplyController::supplyIdentified, this, &ProgramsWindow::followSupply);
    // A window opened while a program runs shows what runs.
    if (engine_.active()) {
        editor_->setProgram(engine_.program());
        modified_ = false;
    }
    if (controller_.identified()) {
        followSupply();
    } else {
        redraw();
    }
    followEngine();
    showFile();
    fitScreen();
}

// A laptop's 1366×768 holds it whole.
void ProgramsWindow::fitScreen()
{
    const QScreen* shown = screen();
    resize(shown != nullptr ? kPreferredSize.boundedTo(shown->availableGeometry().size()) : kPreferredSize);
}

QMenuBar* ProgramsWindow::createMenu()
{
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(tr("&Файл"));
    QAction* fresh = file->addAction(tr("Новая программа"), QKeySequence::New, this, &ProgramsWindow::askNewProgram);
    fresh->setObjectName(QStringLiteral("newProgram"));
    editActions_ << fresh;
    editActions_ << file->addAction(tr("Открыть…"), QKeySequence::Open, this, &ProgramsWindow::chooseOpenFile);
    file->addAction(tr("Сохранить"), QKeySequence::Save, this, &ProgramsWindow::save);
    file->addAction(tr("Сохранить как…"), QKeySequence::SaveAs, this, &ProgramsWindow::chooseSaveFile);
    file->addSeparator();
    editActions_ << file->addAction(tr("Импорт CSV…"), this, &ProgramsWindow::chooseImportFile);
    file->addAction(tr("Экспорт CSV…"), this, &ProgramsWindow::chooseExportFile);
    file->addSeparator();
    QAction* charge = file->addAction(tr("Заряд аккумулятора…"), this, &ProgramsWindow::openChargeDialog);
    charge->setObjectName(QStringLiteral("chargeAction"));
    editActions_ << charge;
    file->addSeparator();
    file->addAction(tr("Закрыть"), QKeySequence::Close, this, &QWidget::close);
    return bar;
}

QWidget* ProgramsWindow::createSidePanel(ProgramEngine& engine, ProtectionWatch& protection)
{
    auto* side = new QWidget(this);
    run_ = new RunControls(
        engine, [this] { return editor_->program(); }, side);
    progress_ = new ProgressView(engine, side);
    limits_ = new LimitsPanel(protection, side);
    auto* runBox = new QGroupBox(tr("Выполнение"), side);
    // A charge's report and the conditions watched grow long; the window must not.
    auto* scroll = new QScrollArea(runBox);
    scroll->setWidget(progress_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setAutoFillBackground(false);
    progress_->setAutoFillBackground(false);
    auto* runLayout = new QVBoxLayout(runBox);
    runLayout->addWidget(run_);
    runLayout->addWidget(scroll, 1);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(runBox, 1);
    layout->addWidget(boxed(tr("Защита"), limits_, side));
    side->setMinimumWidth(360);
    return side;
}

void ProgramsWindow::open()
{
    show();
    raise();
    activateWindow();
}

bool ProgramsWindow::openFile(const QString& path)
{
    const ProgramFile::Read read = ProgramFile::load(path);
    if (!read.program) {
        showProblem(tr("Открыть программу"), read.problem);
        return false;
    }
    editor_->setProgram(*read.program);
    // A CSV list is only imported: saving writes the program in full.
    path_ = isCsv(path) ? QString() : path;
    modified_ = false;
    showFile();
    return true;
}

bool ProgramsWindow::saveFile(const QString& path)
{
    const QString problem = ProgramFile::save(path, editor_->program());
    if (!problem.isEmpty()) {
        showProblem(isCsv(path) ? tr("Экспорт CSV") : tr("Сохранить программу"), problem);
        return false;
    }
    // A CSV list is only exported: the program stays with its own file.
    if (!isCsv(path)) {
        path_ = path;
        modified_ = false;
        showFile();
    }
    return true;
}

// Not modal: the controller and the running program go on while it waits.
void ProgramsWindow::showProblem(const QString& title, const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

// Unsaved changes are only dropped when the user says so; not modal, as a problem.
void ProgramsWindow::askNewProgram()
{
    if (!modified_) {
        startNewProgram();
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Question, tr("Новая программа"),
        tr("Программа изменена и не сохранена. Начать новую без этих изменений?"),
        QMessageBox::Discard | QMessageBox::Cancel, this);
    box->button(QMessageBox::Discard)->setText(tr("Начать новую"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    connect(box, &QMessageBox::buttonClicked, this, [this, box](QAbstractButton* button) {
        if (box->standardButton(button) == QMessageBox::Discard && !engine_.active()) {
            startNewProgram();
        }
    });
    box->show();
}

void ProgramsWindow::startNewProgram()
{
    editor_->setProgram({});
    path_.clear();
    modified_ = false;
    showFile();
}

void ProgramsWindow::chooseOpenFile()
{
    const QString path
        = QFileDialog::getOpenFileName(this, tr("Открыть программу"), documentsFolder(), tr(kJsonFilter));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void ProgramsWindow::chooseImportFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Импорт CSV"), documentsFolder(), tr(kCsvFilter));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void ProgramsWindow::save()
{
    if (path_.isEmpty()) {
        chooseSaveFile();
    } else {
        saveFile(path_);
    }
}

void ProgramsWindow::chooseSaveFile()
{
    const QString path
        = withSuffix(QFileDialog::getSaveFileName(this, tr("Сохранить программу"), documentsFolder(), tr(kJsonFilter)),
            QStringLiteral("json"));
    if (!path.isEmpty()) {
        saveFile(path);
    }
}

void ProgramsWindow::chooseExportFile()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Экспорт CSV"), documentsFolder(), tr(kCsvFilter));
    if (!path.isEmpty()) {
        saveFile(isCsv(path) ? path : path + QStringLiteral(".csv"));
    }
}

// Not blocking: the controller and the running program go on while it waits.
void ProgramsWindow::openChargeDialog()
{
    auto* dialog = new ChargeDialog(controller_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        if (dialog->program()) {
            takeNewProgram(*dialog->program());
        }
    });
    dialog->open();
}

// As a new program: not saved anywhere yet. One started meanwhile keeps what it shows.
void ProgramsWindow::takeNewProgram(const Program& program)
{
    if (engine_.active()) {
        return;
    }
    path_.clear();
    editor_->setProgram(program);
    modified_ = true;
    showFile();
}

void ProgramsWindow::edited()
{
    redraw();
    run_->clearRefusal();
    modified_ = true;
    showFile();
}

// Kept values start from the supply's setpoints, as they would if it ran now.
void ProgramsWindow::redraw()
{
    const double volts = controller_.heldVoltage().value_or(0.0);
    const double amperes = controller_.heldCurrent().value_or(0.0);
    editor_->setHeld(volts, amperes);
    chart_->draw(ProgramPlan::of(editor_->program(), volts, amperes));
}

void ProgramsWindow::showFile()
{
    const QString name = path_.isEmpty() ? tr("новая программа") : QFileInfo(path_).fileName();
    file_->setText(modified_ ? tr("Программа: %1 (изменена)").arg(name) : tr("Программа: %1").arg(name));
    file_->setToolTip(path_);
}

// The identified model's ranges bound the setpoints typed.
void ProgramsWindow::followSupply()
{
    editor_->setRange(controller_.profile());
    redraw();
    run_->recheck();
}

// What is shown is what runs: no edits while it does.
void ProgramsWindow::followEngine()
{
    const bool idle = !engine_.active();
    editor_->setEditable(idle);
    for (QAction* action : editActions_) {
        action->setEnabled(idle);
    }
    followRun();
}

void ProgramsWindow::followRun()
{
    chart_->showRun(engine_.active() ? std::optional(engine_.progress()) : std::nullopt);
}
