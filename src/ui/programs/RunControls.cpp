#include "programs/RunControls.h"

#include "engine/ProgramEngine.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

RunControls::RunControls(ProgramEngine& engine, std::function<Program()> program, QWidget* parent)
    : QWidget(parent)
    , engine_(engine)
    , program_(std::move(program))
    , start_(addButton(tr("Пуск"), "start"))
    , pause_(addButton(tr("Пауза"), "pause"))
    , resume_(addButton(tr("Продолжить"), "resume"))
    , stop_(addButton(tr("Стоп"), "stop"))
    , refusal_(new QLabel(this))
{
    refusal_->setObjectName(QStringLiteral("refusal"));
    refusal_->setWordWrap(true);
    refusal_->setStyleSheet(QStringLiteral("color: #b00000"));
    refusal_->hide();
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    int column = 0;
    for (QPushButton* button : {start_, pause_, resume_, stop_}) {
        layout->addWidget(button, 0, column++);
    }
    layout->addWidget(refusal_, 1, 0, 1, 4);
    connect(start_, &QPushButton::clicked, this, &RunControls::start);
    connect(pause_, &QPushButton::clicked, &engine_, &ProgramEngine::pause);
    connect(resume_, &QPushButton::clicked, this, &RunControls::resume);
    connect(stop_, &QPushButton::clicked, &engine_, &ProgramEngine::stop);
    connect(&engine_, &ProgramEngine::stateChanged, this, &RunControls::showState);
    showState();
}

QPushButton* RunControls::addButton(const QString& text, const char* name)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

void RunControls::start()
{
    std::optional<ProgramRefusal> refusal = engine_.load(program_());
    const bool loaded = !refusal;
    if (loaded) {
        refusal = engine_.start();
    }
    if (refusal) {
        showRefusal(tr("Не запущена: %1").arg(refusal->reason));
        startRefusal_ = loaded ? std::optional(refusal->reason) : std::nullopt;
        emit refused(refusal->step);
    } else {
        clearRefusal();
    }
}

void RunControls::recheck()
{
    if (!startRefusal_) {
        return;
    }
    const std::optional<ProgramRefusal> now = engine_.startRefusal();
    if (!now || now->reason != *startRefusal_) {
        clearRefusal();
    }
}

void RunControls::resume()
{
    if (engine_.resume()) {
        clearRefusal();
    } else {
        showRefusal(tr("Не удалось продолжить: %1").arg(engine_.why()));
    }
}

void RunControls::showState()
{
    const ProgramEngine::State state = engine_.state();
    start_->setEnabled(state == ProgramEngine::State::Idle);
    pause_->setEnabled(state == ProgramEngine::State::Running);
    resume_->setEnabled(state == ProgramEngine::State::Paused);
    stop_->setEnabled(state != ProgramEngine::State::Idle);
}

void RunControls::showRefusal(const QString& text)
{
    startRefusal_.reset();
    refusal_->setText(text);
    refusal_->show();
}

QString RunControls::refusal() const
{
    return refusal_->isHidden() ? QString() : refusal_->text();
}

void RunControls::clearRefusal()
{
    startRefusal_.reset();
    refusal_->clear();
    refusal_->hide();
}
