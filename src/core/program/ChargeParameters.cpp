#include "program/ChargeParameters.h"

#include "program/ChemistryPractice.h"

ChargeParameters ChargeParameters::defaults(Chemistry chemistry)
{
    const ChemistryPractice& practice = ChemistryPractice::of(chemistry);
    ChargeParameters parameters;
    parameters.chemistry = chemistry;
    parameters.voltsPerCell = practice.chargeVolts;
    parameters.taperRate = practice.taperRate;
    parameters.deltaVoltsPerCell = practice.deltaVolts;
    parameters.floatVoltsPerCell = practice.floatVolts;
    if (practice.family == ChemistryPractice::Family::Lead) {
        parameters.cells = 6;
    } else if (practice.family == ChemistryPractice::Family::Nickel) {
        parameters.cells = 4;
    }
    return parameters;
}
