#include "supply/ModelConfirmation.h"

bool ModelConfirmation::confirms(int code)
{
    const bool again = heard_ == code;
    heard_ = code;
    return again;
}
