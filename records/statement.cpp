// The public statement calls: begin, one transfer per item, end.
#include <variant>

#include "records/statement.hpp"

namespace rec {

using detail::FormattedStatement;
using detail::ListReader;
using detail::ListWriter;
using detail::Target;

namespace {

template <typename Machine, typename Items>
int run(Machine& m, const Items& items) {
  if (m.status() != 0) return m.status();
  for (const auto& it : items) {
    if (m.item(it.kind(), it.data(), it.count(), it.length()) != 0) return m.status();
  }
  return m.finish();
}

}  // namespace

int write(int unit, std::string_view layout, std::initializer_list<Item> items, Exits exits) {
  Target t;
  t.unit = unit;
  FormattedStatement m(t, layout, exits);
  return run(m, items);
}

int read(int unit, std::string_view layout, std::initializer_list<Into> items, Exits exits) {
  Target t;
  t.unit = unit;
  t.reading = true;
  FormattedStatement m(t, layout, exits);
  return run(m, items);
}

int write_text(std::span<char> record, std::string_view layout, std::initializer_list<Item> items,
               Exits exits) {
  Target t;
  t.internal = true;
  t.text_out = record;
  FormattedStatement m(t, layout, exits);
  return run(m, items);
}

int read_text(std::string_view record, std::string_view layout, std::initializer_list<Into> items,
              Exits exits) {
  Target t;
  t.reading = true;
  t.internal = true;
  t.text_in = record.data() == nullptr ? std::string_view("", 0) : record;
  FormattedStatement m(t, layout, exits);
  return run(m, items);
}

int write_list(int unit, std::initializer_list<Item> items, Exits exits) {
  ListWriter m(unit, exits);
  return run(m, items);
}

int read_list(std::string_view record, std::initializer_list<Into> items, Exits exits) {
  ListReader m(record, exits);
  return run(m, items);
}

// ---- Statement ----------------------------------------------------------------

class Statement::Impl {
 public:
  template <typename M, typename... Args>
  explicit Impl(std::in_place_type_t<M> tag, Args&&... args) : machine(tag, std::forward<Args>(args)...) {}

  std::variant<FormattedStatement, ListWriter, ListReader> machine;
  bool finished = false;
  int final_status = 0;
};

Statement::Statement(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;
Statement::~Statement() = default;

Statement Statement::write(int unit, std::string_view layout, Exits exits) {
  Target t;
  t.unit = unit;
  return Statement(std::make_unique<Impl>(std::in_place_type<FormattedStatement>, t, layout, exits));
}

Statement Statement::read(int unit, std::string_view layout, Exits exits) {
  Target t;
  t.unit = unit;
  t.reading = true;
  return Statement(std::make_unique<Impl>(std::in_place_type<FormattedStatement>, t, layout, exits));
}

Statement Statement::write_text(std::span<char> record, std::string_view layout, Exits exits) {
  Target t;
  t.internal = true;
  t.text_out = record;
  return Statement(std::make_unique<Impl>(std::in_place_type<FormattedStatement>, t, layout, exits));
}

Statement Statement::read_text(std::string_view record, std::string_view layout, Exits exits) {
  Target t;
  t.reading = true;
  t.internal = true;
  t.text_in = record.data() == nullptr ? std::string_view("", 0) : record;
  return Statement(std::make_unique<Impl>(std::in_place_type<FormattedStatement>, t, layout, exits));
}

Statement Statement::write_list(int unit, Exits exits) {
  return Statement(std::make_unique<Impl>(std::in_place_type<ListWriter>, unit, exits));
}

Statement Statement::read_list(std::string_view record, Exits exits) {
  return Statement(std::make_unique<Impl>(std::in_place_type<ListReader>, record, exits));
}

Statement& Statement::put(const Item& item) {
  std::visit(
      [&](auto& m) {
        if (m.status() == 0 && !impl_->finished) {
          if constexpr (std::is_same_v<std::decay_t<decltype(m)>, ListReader>) {
            // A free-form reader takes no output items.
          } else {
            m.item(item.kind(), item.data(), item.count(), item.length());
          }
        }
      },
      impl_->machine);
  return *this;
}

Statement& Statement::get(const Into& item) {
  std::visit(
      [&](auto& m) {
        if (m.status() == 0 && !impl_->finished) {
          if constexpr (std::is_same_v<std::decay_t<decltype(m)>, ListWriter>) {
          } else {
            m.item(item.kind(), item.data(), item.count(), item.length());
          }
        }
      },
      impl_->machine);
  return *this;
}

int Statement::finish() {
  if (impl_->finished) return impl_->final_status;
  impl_->finished = true;
  impl_->final_status = std::visit(
      [](auto& m) { return m.status() != 0 ? m.status() : m.finish(); }, impl_->machine);
  return impl_->final_status;
}

int Statement::status() const {
  if (impl_->finished) return impl_->final_status;
  return std::visit([](auto& m) { return m.status(); }, impl_->machine);
}

}  // namespace rec
