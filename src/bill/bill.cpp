#include "bill/bill.h"

#include <algorithm>

#include "bill/bill_store.h"

namespace tollwick {

void Bill::Append(const SettingsStore& store, const BillItem& item) {
  items_.push_back(item);
  SaveLastBillItem(store, *this);
  // A copy: a listener may stop listening as it hears.
  const std::vector<BillListener*> listeners = listeners_;
  for (auto listener = listeners.rbegin(); listener != listeners.rend(); ++listener) {
    (*listener)->ItemAppended(items_.back());
  }
}

void Bill::Delete(const SettingsStore& store, const std::vector<std::uint32_t>& positions) {
  DeleteBillItems(store, items_, positions);
  const std::vector<BillListener*> listeners = listeners_;
  for (auto listener = listeners.rbegin(); listener != listeners.rend(); ++listener) {
    (*listener)->ItemsDeleted();
  }
}

void Bill::Listen(BillListener& listener) const { listeners_.push_back(&listener); }

void Bill::StopListening(BillListener& listener) const {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

}  // namespace tollwick
