#include "remote/ScpiCommandTable.h"

std::vector<ScpiCommandTable::Entry> ScpiCommandTable::programEntries()
{
    using Commands = ScpiProgramCommands;
    return {
        {ScpiPattern("[SOURce:]LIST:VOLTage"), &ScpiSession::program<&Commands::setVoltages>},
        {ScpiPattern("[SOURce:]LIST:VOLTage?"), &ScpiSession::program<&Commands::voltages>},
        {ScpiPattern("[SOURce:]LIST:CURRent"), &ScpiSession::program<&Commands::setCurrents>},
        {ScpiPattern("[SOURce:]LIST:CURRent?"), &ScpiSession::program<&Commands::currents>},
        {ScpiPattern("[SOURce:]LIST:DWELl"), &ScpiSession::program<&Commands::setDwells>},
        {ScpiPattern("[SOURce:]LIST:DWELl?"), &ScpiSession::program<&Commands::dwells>},
        {ScpiPattern("[SOURce:]LIST:COUNt"), &ScpiSession::program<&Commands::setCount>},
        {ScpiPattern("[SOURce:]LIST:COUNt?"), &ScpiSession::program<&Commands::count>},
        {ScpiPattern("[SOURce:]LIST:POINts?"), &ScpiSession::program<&Commands::points>},
        {ScpiPattern("INITiate[:IMMediate]"), &ScpiSession::program<&Commands::initiate>},
        {ScpiPattern("ABORt"), &ScpiSession::program<&Commands::abort>},
        {ScpiPattern("PROGram:LOAD"), &ScpiSession::program<&Commands::loadProgram>},
        {ScpiPattern("PROGram:STARt"), &ScpiSession::program<&Commands::startProgram>},
        {ScpiPattern("PROGram:PAUSe"), &ScpiSession::program<&Commands::pauseProgram>},
        {ScpiPattern("PROGram:STOP"), &ScpiSession::program<&Commands::abort>},
        {ScpiPattern("PROGram:STATe?"), &ScpiSession::program<&Commands::programState>},
        {ScpiPattern("PROGram:STEP?"), &ScpiSession::program<&Commands::programStep>},
        {ScpiPattern("PROGram:REASon?"), &ScpiSession::program<&Commands::programReason>},
        {ScpiPattern("OUTPut:PROTection:CLEar"), &ScpiSession::protection<&ScpiProtectionCommands::clear>},
    };
}

template <RemoteInstrument::Guard guard>
void ScpiCommandTable::addProtection(std::vector<Entry>& entries, const std::string& quantity)
{
    using Commands = ScpiProtectionCommands;
    const std::string header = "[SOURce:]" + quantity + ":PROTection";
    entries.push_back({ScpiPattern(header + "[:LEVel]"), &ScpiSession::protection<&Commands::setLevel<guard>>});
    entries.push_back({ScpiPattern(header + "[:LEVel]?"), &ScpiSession::protection<&Commands::level<guard>>});
    entries.push_back({ScpiPattern(header + ":STATe"), &ScpiSession::protection<&Commands::setState<guard>>});
    entries.push_back({ScpiPattern(header + ":STATe?"), &ScpiSession::protection<&Commands::state<guard>>});
    entries.push_back({ScpiPattern(header + ":TRIPped?"), &ScpiSession::protection<&Commands::tripped<guard>>});
}

std::vector<ScpiCommandTable::Entry> ScpiCommandTable::joined(std::vector<Entry> entries)
{
    std::vector<Entry> program = programEntries();
    entries.insert(entries.end(), program.begin(), program.end());
    addProtection<RemoteInstrument::Guard::Voltage>(entries, "VOLTage");
    addProtection<RemoteInstrument::Guard::Current>(entries, "CURRent");
    addProtection<RemoteInstrument::Guard::Power>(entries, "POWer");
    return entries;
}

// NOLINTNEXTLINE(readability-function-size): one row a command, read as a table.
const std::vector<ScpiCommandTable::Entry>& ScpiCommandTable::entries()
{
    static const std::vector<Entry> table = joined({
        {ScpiPattern("*IDN?"), &ScpiSession::identify},
        {ScpiPattern("*RST"), &ScpiSession::reset},
        {ScpiPattern("*CLS"), &ScpiSession::clearStatus},
        {ScpiPattern("*OPC?"), &ScpiSession::operationComplete},
        {ScpiPattern("*OPC"), &ScpiSession::setOperationComplete},
        {ScpiPattern("*WAI"), &ScpiSession::wait},
        {ScpiPattern("*ESE"), &ScpiSession::status<&ScpiStatusCommands::setEventEnable>},
        {ScpiPattern("*ESE?"), &ScpiSession::status<&ScpiStatusCommands::eventEnable>},
        {ScpiPattern("*ESR?"), &ScpiSession::status<&ScpiStatusCommands::takeEvents>},
        {ScpiPattern("*SRE"), &ScpiSession::status<&ScpiStatusCommands::setServiceEnable>},
        {ScpiPattern("*SRE?"), &ScpiSession::status<&ScpiStatusCommands::serviceEnable>},
        {ScpiPattern("*STB?"), &ScpiSession::status<&ScpiStatusCommands::statusByte>},
        {ScpiPattern("*TST?"), &ScpiSession::status<&ScpiStatusCommands::selfTest>},
        {ScpiPattern("*OPT?"), &ScpiSession::status<&ScpiStatusCommands::options>},
        {ScpiPattern("STATus:OPERation[:EVENt]?"), &ScpiSession::status<&ScpiStatusCommands::operationEvent>},
        {ScpiPattern("STATus:OPERation:CONDition?"),
            &ScpiSession::status<&ScpiStatusCommands::operationMask<&ScpiStatusRegister::condition>>},
        {ScpiPattern("STATus:OPERation:ENABle"),
            &ScpiSession::status<&ScpiStatusCommands::setOperationMask<&ScpiStatusRegister::setEnable>>},
        {ScpiPattern("STATus:OPERation:ENABle?"),
            &ScpiSession::status<&ScpiStatusCommands::operationMask<&ScpiStatusRegister::enable>>},
        {ScpiPattern("STATus:QUEStionable[:EVENt]?"), &ScpiSession::status<&ScpiStatusCommands::questionableEvent>},
        {ScpiPattern("STATus:QUEStionable:CONDition?"),
            &ScpiSession::status<&ScpiStatusCommands::questionableMask<&ScpiStatusRegister::condition>>},
        {ScpiPattern("STATus:QUEStionable:ENABle"),
            &ScpiSession::status<&ScpiStatusCommands::setQuestionableMask<&ScpiStatusRegister::setEnable>>},
        {ScpiPattern("STATus:QUEStionable:ENABle?"),
            &ScpiSession::status<&ScpiStatusCommands::questionableMask<&ScpiStatusRegister::enable>>},
        {ScpiPattern("STATus:PRESet"), &ScpiSession::status<&ScpiStatusCommands::preset>},
        {ScpiPattern("STATus:OPERation:PTRansition"),
            &ScpiSession::status<&ScpiStatusCommands::setOperationMask<&ScpiStatusRegister::setRising>>},
        {ScpiPattern("STATus:OPERation:PTRansition?"),
            &ScpiSession::status<&ScpiStatusCommands::operationMask<&ScpiStatusRegister::rising>>},
        {ScpiPattern("STATus:OPERation:NTRansition"),
            &ScpiSession::status<&ScpiStatusCommands::setOperationMask<&ScpiStatusRegister::setFalling>>},
        {ScpiPattern("STATus:OPERation:NTRansition?"),
            &ScpiSession::status<&ScpiStatusCommands::operationMask<&ScpiStatusRegister::falling>>},
        {ScpiPattern("STATus:QUEStionable:PTRansition"),
            &ScpiSession::status<&ScpiStatusCommands::setQuestionableMask<&ScpiStatusRegister::setRising>>},
        {ScpiPattern("STATus:QUEStionable:PTRansition?"),
            &ScpiSession::status<&ScpiStatusCommands::questionableMask<&ScpiStatusRegister::rising>>},
        {ScpiPattern("STATus:QUEStionable:NTRansition"),
            &ScpiSession::status<&ScpiStatusCommands::setQuestionableMask<&ScpiStatusRegister::setFalling>>},
        {ScpiPattern("STATus:QUEStionable:NTRansition?"),
            &ScpiSession::status<&ScpiStatusCommands::questionableMask<&ScpiStatusRegister::falling>>},
        {ScpiPattern("STATus:QUEStionable:INSTrument:ISUMmary[:EVENt]?"),
            &ScpiSession::status<&ScpiStatusCommands::instrumentEvent>},
        {ScpiPattern("STATus:QUEStionable:INSTrument:ISUMmary:CONDition?"),
            &ScpiSession::status<&ScpiStatusCommands::instrumentMask<&ScpiStatusRegister::condition>>},
        {ScpiPattern("STATus:QUEStionable:INSTrument:ISUMmary:ENABle"),
            &ScpiSession::status<&ScpiStatusCommands::setInstrumentMask<&ScpiStatusRegister::setEnable>>},
        {ScpiPattern("STATus:QUEStionable:INSTrument:ISUMmary:ENABle?"),
            &ScpiSession::status<&ScpiStatusCommands::instrumentMask<&ScpiStatusRegister::enable>>},
        {ScpiPattern("SYSTem:COMMunicate:RLSTate"), &ScpiSession::system<&ScpiSystemCommands::accessState>},
        {ScpiPattern("OUTPut:GENeral"), &ScpiSession::supply<&ScpiSupplyCommands::setOutput>},
        {ScpiPattern("OUTPut:GENeral?"), &ScpiSession::supply<&ScpiSupplyCommands::outputQuery>},
        {ScpiPattern("MEASure[:SCALar]:POWEr[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("FETCh[:SCALar]:POWEr[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("READ[:SCALar]:POWEr[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("SYSTem:ERRor[:NEXT]?"), &ScpiSession::system<&ScpiSystemCommands::nextError>},
        {ScpiPattern("SYSTem:ERRor:COUNt?"), &ScpiSession::system<&ScpiSystemCommands::errorCount>},
        {ScpiPattern("SYSTem:ERRor:ALL?"), &ScpiSession::system<&ScpiSystemCommands::allErrors>},
        {ScpiPattern("SYSTem:VERSion?"), &ScpiSession::system<&ScpiSystemCommands::version>},
        {ScpiPattern("SYSTem:LINK?"), &ScpiSession::system<&ScpiSystemCommands::link>},
        {ScpiPattern("SYSTem:REMote"), &ScpiSession::system<&ScpiSystemCommands::accessMode>},
        {ScpiPattern("SYSTem:LOCal"), &ScpiSession::system<&ScpiSystemCommands::accessMode>},
        {ScpiPattern("SYSTem:RWLock"), &ScpiSession::system<&ScpiSystemCommands::accessMode>},
        {ScpiPattern("INSTrument[:SELect]"), &ScpiSession::system<&ScpiSystemCommands::selectByName>},
        {ScpiPattern("INSTrument[:SELect]?"), &ScpiSession::system<&ScpiSystemCommands::selectedName>},
        {ScpiPattern("INSTrument:NSELect"), &ScpiSession::system<&ScpiSystemCommands::selectByNumber>},
        {ScpiPattern("INSTrument:NSELect?"), &ScpiSession::system<&ScpiSystemCommands::selectedNumber>},
        {ScpiPattern("[SOURce:]VOLTage[:LEVel][:IMMediate][:AMPLitude]"),
            &ScpiSession::supply<&ScpiSupplyCommands::setVoltage>},
        {ScpiPattern("[SOURce:]VOLTage[:LEVel][:IMMediate][:AMPLitude]?"),
            &ScpiSession::supply<&ScpiSupplyCommands::voltageQuery>},
        {ScpiPattern("[SOURce:]CURRent[:LEVel][:IMMediate][:AMPLitude]"),
            &ScpiSession::supply<&ScpiSupplyCommands::setCurrent>},
        {ScpiPattern("[SOURce:]CURRent[:LEVel][:IMMediate][:AMPLitude]?"),
            &ScpiSession::supply<&ScpiSupplyCommands::currentQuery>},
        {ScpiPattern("OUTPut[:STATe]"), &ScpiSession::supply<&ScpiSupplyCommands::setOutput>},
        {ScpiPattern("OUTPut[:STATe]?"), &ScpiSession::supply<&ScpiSupplyCommands::outputQuery>},
        {ScpiPattern("OUTPut:MODE?"), &ScpiSession::supply<&ScpiSupplyCommands::outputMode>},
        {ScpiPattern("MEASure[:SCALar]:VOLTage[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureVoltage>},
        {ScpiPattern("MEASure[:SCALar]:CURRent[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureCurrent>},
        {ScpiPattern("MEASure[:SCALar]:POWer[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("FETCh[:SCALar]:VOLTage[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureVoltage>},
        {ScpiPattern("FETCh[:SCALar]:CURRent[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureCurrent>},
        {ScpiPattern("FETCh[:SCALar]:POWer[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("READ[:SCALar]:VOLTage[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureVoltage>},
        {ScpiPattern("READ[:SCALar]:CURRent[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measureCurrent>},
        {ScpiPattern("READ[:SCALar]:POWer[:DC]?"), &ScpiSession::supply<&ScpiSupplyCommands::measurePower>},
        {ScpiPattern("[SOURce:]APPLy"), &ScpiSession::supply<&ScpiSupplyCommands::apply>},
        {ScpiPattern("[SOURce:]APPLy?"), &ScpiSession::supply<&ScpiSupplyCommands::applyQuery>},
    });
    return table;
}

ScpiSession::Handler ScpiCommandTable::lookUp(const std::vector<std::string>& mnemonics, bool query)
{
    for (const Entry& entry : entries()) {
        if (entry.pattern.matches(mnemonics, query)) {
            return entry.handler;
        }
    }
    return nullptr;
}
