#include "programs/ChargeDialog.h"

#include "controller/SupplyController.h"
#include "programs/ChargeForm.h"
#include "programs/ChargeResolutionView.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ChargeDialog::ChargeDialog(const SupplyController& controller, QWidget* parent)
    : QDialog(parent)
    , controller_(controller)
    , form_(new ChargeForm(this))
    , resolution_(new ChargeResolutionView(this))
{
    setWindowTitle(tr("Заряд аккумулятора"));
    auto* supply = new QGroupBox(tr("На этом источнике"), this);
    auto* supplyLayout = new QVBoxLayout(supply);
    supplyLayout->addWidget(resolution_);
    auto* hint = new QLabel(tr("Программа откроется как новая: её можно посмотреть на плане, изменить, "
                               "сохранить и запустить."),
        this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(tr("Составить программу"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(form_);
    layout->addWidget(supply, 1);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    connect(form_, &ChargeForm::changed, this, &ChargeDialog::remake);
    // Queued: both are heard before identified() says so.
    connect(&controller_, &SupplyController::supplyIdentified, this, &ChargeDialog::followSupply, Qt::QueuedConnection);
    connect(&controller_, &SupplyController::linkLost, this, &ChargeDialog::remake, Qt::QueuedConnection);
    followSupply();
    setMinimumWidth(600);
}

// The form's defaults suit the supply found.
void ChargeDialog::followSupply()
{
    if (controller_.identified()) {
        form_->setModel(controller_.profile());
    }
    remake();
}

// The supply's steps decide: without an identified one nothing is made.
void ChargeDialog::remake()
{
    if (!controller_.identified()) {
        made_ = {};
        resolution_->showUnknown();
    } else {
        const ChargeParameters parameters = form_->parameters();
        made_ = ChargeProfile::make(parameters, controller_.profile());
        resolution_->showMade(parameters, made_, controller_.profile());
    }
    ok_->setEnabled(made_.program.has_value());
}
