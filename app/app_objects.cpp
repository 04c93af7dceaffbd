#include "app/app_objects.h"

TfmVORL1* fmVORL1 = nullptr;
data::TdmVORL* dmVORL = nullptr;
TfmGetEditPassword* fmGetEditPassword = nullptr;
data::TdmABResults* dmABResults = nullptr;
data::TdmUnitDated* dmUnitDated = nullptr;
