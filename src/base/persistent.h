#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "base/object.h"

// One published property as the type information records it.
struct TPropertyInfo {
  static constexpr int32_t kNoIndex = INT32_MIN;

  std::string_view Name;
  std::string_view TypeName;
  bool Stored = true;
  int32_t Index = kNoIndex;
  int32_t Default = 0;
};

// Type information of a persistent class: its name, the module it is
// recorded under and its published properties in declaration order.
struct TClassInfo {
  std::string_view ClassName;
  std::string_view ModuleName;
  std::span<const TPropertyInfo> Properties;
  const TClassInfo* Parent = nullptr;
};

// Base of the objects that copy their settings from one another and publish
// them as named, typed properties.
class TPersistent : public TObject {
 public:
  // Copies from an object of the same class; anything else is refused with
  // std::invalid_argument.
  virtual void Assign(const TPersistent& source);
  virtual const TClassInfo& ClassInfo() const;
};
