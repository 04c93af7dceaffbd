#pragma once
// The five long-lived objects of the program, created at start in this order and kept until it ends.
namespace data {
class TdmVORL;
class TdmABResults;
class TdmUnitDated;
}  // namespace data
class TfmVORL1;
class TfmGetEditPassword;

extern TfmVORL1* fmVORL1;
extern data::TdmVORL* dmVORL;
extern TfmGetEditPassword* fmGetEditPassword;
extern data::TdmABResults* dmABResults;
extern data::TdmUnitDated* dmUnitDated;
