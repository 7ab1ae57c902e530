#pragma once

// The battery chemistries the charge profiles know.
enum class Chemistry { LiIon, LiFePO4, LeadFlooded, LeadAgm, LeadGel, NiMH, NiCd };
