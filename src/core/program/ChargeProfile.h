#pragma once

#include "program/ChargeParameters.h"
#include "program/Program.h"
#include "supply/ModelProfile.h"

#include <QString>

#include <optional>

// A charge program made from a few parameters: the chemistry's stages, each
// ending on what its practice ends it on, with backstops armed as the
// program's limits (a voltage ceiling, a charge, a time) and a check of the
// cell's voltage before it takes the full current. The supply sets and reads
// in steps of its full scale / 1000: values go out as the step at or below
// the one asked for, and an end the supply cannot tell apart is refused.
class ChargeProfile {
public:
    // An end condition needs this many of the supply's steps to be told from
    // a reading's rounding.
    static constexpr int kStepsToResolve = 2;
    static constexpr int kMaxCells = 100;

    // What the supply's resolution makes of the battery's values.
    struct Resolution {
        double voltStep = 0.0;
        double currentStep = 0.0;
        double chargeVolts = 0.0; // the pack's, as the supply holds it
        double amperes = 0.0;
        std::optional<double> prechargeAmperes; // none: too small to set, a low cell is refused
        double taperAmperes = 0.0;
        double dropVolts = 0.0; // the pack's -dV
        double smallestTaper() const { return kStepsToResolve * currentStep; }
        double smallestDrop() const { return kStepsToResolve * voltStep; }
    };

    struct Made {
        std::optional<Program> program;
        QString refusal; // empty when made
        Resolution resolution;
    };

    static Made make(const ChargeParameters& parameters, const ModelProfile& model);
    // The chemistry's usual values as this supply can hold them: a battery big
    // enough for its end current to be told apart, or a -dV per cell, then
    // more cells, large enough for the supply's voltage steps.
    static ChargeParameters suited(Chemistry chemistry, const ModelProfile& model);
    // The time backstop for these parameters.
    static std::chrono::seconds timeLimit(const ChargeParameters& parameters, bool precharges);

private:
    static Resolution resolve(const ChargeParameters& parameters, const ModelProfile& model);
    static QString refusal(const ChargeParameters& parameters, const ModelProfile& model, const Resolution& held);
    static QString rangeRefusal(const ChargeParameters& parameters);
    static QString taperHint(const ChargeParameters& parameters, const Resolution& held);
    static QString dropHint(const ChargeParameters& parameters, const Resolution& held);
    static Program program(const ChargeParameters& parameters, const Resolution& held);
    static ProgramStep check(const ChargeParameters& parameters, const Resolution& held);
    static void addStages(const ChargeParameters& parameters, const Resolution& held, std::vector<ProgramNode>& steps);
    static ProtectionLimits limits(const ChargeParameters& parameters, const Resolution& held);
};
