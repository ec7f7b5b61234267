#include "screening/list_queries.h"

#include <array>
#include <vector>

#include "text/cp1252.h"
#include "text/sql_text.h"

namespace vmk::screening {
namespace {

enum class Family { Detail, Count };

// How a value enters its alternative: each word as an alternative of its own, as it stands, or
// without leading and trailing blanks.
enum class Form { Expanded, Raw, Trimmed };

using Columns = std::vector<const char*>;

std::string Alternative(const char* column, const std::string& value, Form form) {
  std::string v = text::EscapeSqlValue(form == Form::Trimmed ? text::TrimBlanks(value) : value);
  if (form == Form::Expanded) {
    std::string expanded;
    for (char c : v) {
      if (c == ' ') {
        expanded += "%' OR ";
        expanded += column;
        expanded += " LIKE '%";
      } else {
        expanded += c;
      }
    }
    v = std::move(expanded);
  }
  return std::string(column) + " LIKE '%" + v + "%'";
}

// [C1, C2, ...] <- v: the value on every column, joined by OR.
std::string AnyColumn(const Columns& columns, const std::string& value, Form form) {
  std::string group = "(";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) group += " OR ";
    group += Alternative(columns[i], value, form);
  }
  return group + ")";
}

// Two values on one column, joined by the given operator.
std::string TwoValues(const char* column, const std::string& first, const char* op, const std::string& second,
                      Form form) {
  std::string group = "(";
  group += Alternative(column, first, form);
  group += op;
  group += Alternative(column, second, form);
  return group + ")";
}

// A half of a part (names or addresses): its groups joined by AND, parenthesised when more than one.
std::string Half(const std::vector<std::string>& groups) {
  if (groups.size() == 1) return groups.front();
  std::string half = "(";
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (i > 0) half += " AND ";
    half += groups[i];
  }
  return half + ")";
}

std::string Part(const std::vector<std::string>& names, const std::vector<std::string>& addresses) {
  return Half(names) + " AND " + Half(addresses);
}

const Columns kEuNamesFirst = {"FirstName", "LastName", "MiddleName", "WholeName", "Name"};
const Columns kEuNamesLast = {"LastName", "FirstName", "MiddleName", "WholeName", "Name"};
const Columns kEuAddresses = {"Address", "AddrOther"};
const Columns kEuSdxNames = {"SDXFirstName", "SDXLastName", "SDXMiddleName", "SDXWholeName", "SDXName"};
const Columns kEuSdxAddresses = {"SDXAddress", "SDXAddrOther"};
const Columns kEuDmNamesLast = {"DMLastName", "DMFirstName", "DMMiddleName", "DMWholeName"};
const Columns kEuDmNamesFirst = {"DMFirstName", "DMLastName", "DMMiddleName", "DMWholeName"};
const Columns kEuDmAddresses = {"DMAddress", "DMAddrOther"};
const Columns kUnNames = {"FirstName", "SecondName", "Comments1", "Alias"};
const Columns kUnAddresses = {"Address"};
const Columns kUnSdxNames = {"SDXFirstName", "SDXSecondName", "SDXAlias"};
const Columns kUnDmNames = {"DMFirstName", "DMSecondName", "DMAlias"};
const Columns kUkNames = {"Name6", "Name1", "Name2", "Name3", "Name4", "Name5"};
const Columns kUkAddresses = {"Address1", "Address2", "Address3", "Address4", "Address5", "Address6"};
const Columns kUsNames = {"Name", "AlternateName"};
const Columns kUsAddresses = {"Address", "City"};

using Values = std::array<std::string, 4>;

// The part of one value kind: plain terms (mode 0), SDX keys (1) or Double Metaphone keys (2).
std::string PlainPart(ListId list, const Values& t, Form form, bool lastNameFirst) {
  switch (list) {
    case ListId::EU:
      return Part({AnyColumn(lastNameFirst ? kEuNamesLast : kEuNamesFirst, t[0], form),
                   AnyColumn(kEuNamesFirst, t[1], form)},
                  {AnyColumn(kEuAddresses, t[2], form), AnyColumn(kEuAddresses, t[3], form)});
    case ListId::UN:
      return Part({AnyColumn(kUnNames, t[0], form), AnyColumn(kUnNames, t[1], form)},
                  {AnyColumn(kUnAddresses, t[2], form), AnyColumn(kUnAddresses, t[3], form)});
    case ListId::UK:
      return Part({AnyColumn(kUkNames, t[0], form), AnyColumn(kUkNames, t[1], form)},
                  {AnyColumn(kUkAddresses, t[2], form), AnyColumn(kUkAddresses, t[3], form)});
    case ListId::US:
      return Part({AnyColumn(kUsNames, t[0], form), AnyColumn(kUsNames, t[1], form)},
                  {AnyColumn(kUsAddresses, t[2], form), AnyColumn(kUsAddresses, t[3], form)});
  }
  return {};
}

std::string SdxPart(ListId list, const Values& s, Form form) {
  switch (list) {
    case ListId::EU:
      return Part({AnyColumn(kEuSdxNames, s[0], form), AnyColumn(kEuSdxNames, s[1], form)},
                  {AnyColumn(kEuSdxAddresses, s[2], form), AnyColumn(kEuSdxAddresses, s[3], form)});
    case ListId::UN:
      return Part({AnyColumn(kUnSdxNames, s[0], form), AnyColumn(kUnSdxNames, s[1], form)},
                  {TwoValues("SDXAddress", s[2], " OR ", s[3], form)});
    case ListId::UK:
    case ListId::US:
      return Part({TwoValues("SDXName", s[0], " AND ", s[1], form)},
                  {TwoValues("SDXAddress", s[2], " AND ", s[3], form)});
  }
  return {};
}

std::string DmPart(ListId list, const Values& d, Form form) {
  switch (list) {
    case ListId::EU:
      return Part({AnyColumn(kEuDmNamesLast, d[0], form), AnyColumn(kEuDmNamesFirst, d[1], form)},
                  {AnyColumn(kEuDmAddresses, d[2], form), AnyColumn(kEuDmAddresses, d[3], form)});
    case ListId::UN:
      return Part({AnyColumn(kUnDmNames, d[0], form), AnyColumn(kUnDmNames, d[1], form)},
                  {TwoValues("DMAddress", d[2], " OR ", d[3], form)});
    case ListId::UK:
    case ListId::US:
      return Part({TwoValues("DMName", d[0], " OR ", d[1], form)},
                  {TwoValues("DMAddress", d[2], " OR ", d[3], form)});
  }
  return {};
}

// The forms of the three parts for one list, family and mode.
struct Forms {
  Form plain, sdx, dm;
};

Forms FormsFor(ListId list, Family family, int mode) {
  const bool ukOrUs = list == ListId::UK || list == ListId::US;
  if (family == Family::Detail) {
    const Form dm = (list == ListId::UK && mode == kDoubleMetaphone) ? Form::Trimmed : Form::Expanded;
    return {Form::Expanded, Form::Expanded, dm};
  }
  const Form sdx = (list == ListId::EU && mode == kSdx) ? Form::Expanded : Form::Raw;
  return {Form::Raw, sdx, ukOrUs ? Form::Trimmed : Form::Raw};
}

std::string Head(ListId list, int mode) {
  const bool lowerHead =
      (list == ListId::UK || list == ListId::US) && (mode == kSdx || mode == kDoubleMetaphone);
  std::string head = lowerHead ? "Select" : "SELECT";
  head += "  * FROM ";
  head += Schema(list).table;
  return head + " WHERE ";
}

std::optional<std::string> Build(ListId list, int mode, SearchState& state, Family family) {
  if (mode < kPlainText || mode > kAllPhonetics) return std::nullopt;
  const bool ukOrUs = list == ListId::UK || list == ListId::US;
  if (ukOrUs && (mode == kDoubleMetaphone || mode == kAllPhonetics)) CompleteKeyPairs(state);
  const Forms forms = FormsFor(list, family, mode);
  // The EU detail query of the plain mode alone lists FirstName first for the first name term.
  const bool lastNameFirst = !(family == Family::Detail && mode == kPlainText);
  const std::string where = [&]() -> std::string {
    switch (mode) {
      case kPlainText:
        return PlainPart(list, state.terms, forms.plain, lastNameFirst);
      case kSdx:
        return SdxPart(list, state.sdxKeys, forms.sdx);
      case kDoubleMetaphone:
        return DmPart(list, state.dmKeys, forms.dm);
      default: {
        const char* join = family == Family::Detail ? ") AND (" : ") OR (";
        std::string all = "(";
        all += PlainPart(list, state.terms, forms.plain, lastNameFirst);
        all += join;
        all += SdxPart(list, state.sdxKeys, forms.sdx);
        all += join;
        all += DmPart(list, state.dmKeys, forms.dm);
        return all + ")";
      }
    }
  }();
  return Head(list, mode) + where;
}

}  // namespace

void CompletePair(std::string& first, std::string& second) {
  if (first.empty() && !second.empty()) {
    first = second;
  } else if (!first.empty() && second.empty()) {
    second = first;
  }
}

void CompleteKeyPairs(SearchState& state) {
  CompletePair(state.dmKeys[0], state.dmKeys[1]);
  CompletePair(state.dmKeys[2], state.dmKeys[3]);
}

std::optional<std::string> BuildDetailQuery(ListId list, int mode, SearchState& state) {
  return Build(list, mode, state, Family::Detail);
}

std::optional<std::string> BuildCountQuery(ListId list, int mode, SearchState& state) {
  return Build(list, mode, state, Family::Count);
}

}  // namespace vmk::screening
