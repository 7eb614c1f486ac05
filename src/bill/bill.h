#pragma once
// The program-wide bill, oldest first, and the views that listen to it. Item i is the one stored as
// "BillItem<i>" once the bill is loaded or saved, so views can reach any item by its index. Every
// change goes through Append and Delete, which store it before the listeners hear of it.

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "bill/bill_item.h"
#include "platform/settings_store.h"

namespace tollwick {

// A view of the bill that follows its changes while it is open (the Bill and Statistics tabs).
class BillListener {
 public:
  // The item is in the bill, last, and stored.
  virtual void ItemAppended(const BillItem& /*item*/) {}
  // Items were deleted and the stored bill rewritten.
  virtual void ItemsDeleted() {}

 protected:
  ~BillListener() = default;
};

class Bill {
 public:
  Bill() = default;
  Bill(std::initializer_list<BillItem> items) : items_(items) {}
  explicit Bill(std::vector<BillItem> items) : items_(std::move(items)) {}
  template <typename Iterator>
  Bill(Iterator first, Iterator last) : items_(first, last) {}
  // A copy holds the items only: a listener listens to one bill, and keeps listening to it
  // when another bill's items are assigned to it (the bill loaded or freed).
  Bill(const Bill& other) : items_(other.items_) {}
  Bill& operator=(const Bill& other) {
    items_ = other.items_;
    return *this;
  }

  // The one way an item joins the bill, wherever it comes from (the end of a call, a call
  // recovered at start-up, a call or payment added by hand): append it at the tail, store it after
  // the items already stored, then tell the listeners.
  void Append(const SettingsStore& store, const BillItem& item);
  // Deletes the items at these positions (any order, repeats allowed) from the bill and from its
  // stored form (DeleteBillItems), then tells the listeners.
  void Delete(const SettingsStore& store, const std::vector<std::uint32_t>& positions);

  // Listening changes nothing of the items, so a view that only reads the bill may listen. The
  // newest listener hears first: the Options dialog makes the Statistics tab before the Bill tab,
  // and an append refreshes the Bill tab's remaining bill before the Statistics tab's totals.
  void Listen(BillListener& listener) const;
  void StopListening(BillListener& listener) const;

  const std::vector<BillItem>& items() const { return items_; }
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  const BillItem& operator[](std::size_t i) const { return items_[i]; }
  const BillItem& front() const { return items_.front(); }
  const BillItem& back() const { return items_.back(); }
  std::vector<BillItem>::const_iterator begin() const { return items_.begin(); }
  std::vector<BillItem>::const_iterator end() const { return items_.end(); }

 private:
  std::vector<BillItem> items_;
  mutable std::vector<BillListener*> listeners_;
};

}  // namespace tollwick
