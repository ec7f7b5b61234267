#include "screening/sanctions_schema.h"

#include <utility>

#include "text/cp1252.h"

namespace vmk::screening {
namespace {

using text::Win1252;

struct FieldRow {
  const char* name;
  const char* report;     // UTF-8
  const char* selection;  // UTF-8
};

struct KeyRow {
  const char* name;
  const char* report;
  KeyKind kind;
  std::vector<const char*> sources;
};

ListSchema Build(ListId id, const char* name, const char* table, int firstField, int selectionLength,
                 int separatorWidth, Rgb colour, const std::vector<FieldRow>& fields,
                 const std::vector<KeyRow>& keys) {
  ListSchema schema{
      id,     name, table, firstField, static_cast<int>(fields.size()), selectionLength, separatorWidth,
      colour, {}};
  for (const FieldRow& f : fields) {
    schema.columns.push_back({f.name, Win1252(f.report), Win1252(f.selection), KeyKind::None, {}});
  }
  for (const KeyRow& k : keys) {
    ColumnInfo column{k.name, Win1252(k.report), "", k.kind, {}};
    for (const char* source : k.sources) column.keySources.push_back(schema.PositionOf(source));
    schema.columns.push_back(std::move(column));
  }
  return schema;
}

ListSchema BuildEu() {
  const std::vector<FieldRow> fields = {
      {"Name", "Entity", "Entity"},
      {"EntityType", "Entity Typ", "Entity Typ"},
      {"LegalBasis", "Entity Legal Basis", "Legal Basis"},
      {"RegDate", "Entity RegDate", "Reg Date"},
      {"PdfLink", "Entity pdf", "pdf Link"},
      {"Programme", "Entity Programme ", "Programme"},
      {"Remark", "Entity Remark", "Remark"},
      {"OfficialDocument", "offizielles Dokument", "offizielles Dokument"},
      {"LastName", "Nachname", "Nachname"},
      {"FirstName", "Vorname", "Vorname"},
      {"MiddleName", "Mittel Name", "Mittel Name"},
      {"WholeName", "Gesamt Name", "Gesamt Name"},
      {"Gender", "Gender", "Gender"},
      {"Title", "Titel", "Titel"},
      {"Function", "Funktion", "Funktion"},
      {"Language", "Sprache", "Sprache"},
      {"BirthValue", "Geburt Wert", "Geburtstagswert"},
      {"BirthDate", "Geburtstag", "Geburtstag"},
      {"BirthPlace", "Geburtsort", "Geburtsort"},
      {"BirthCountry", "Geburtsland", "Geburtsland"},
      {"AddressValue", "Adresse Wert", "Adress Wert"},
      {"Address", "Adresse", "Adresse"},
      {"Country", "Land", "Land"},
      {"AddrOther", "Sonst.Adresse", "Sonstige Adresse"},
      {"PassportValue", "Passport Wert", "Passport Wert"},
      {"PassportNumber", "Passport Nr.", "Passport Nummer"},
      {"PassportCountry", "Passport Ausstellungsland", "Passport Ausstellendes Land"},
      {"RelativeValue", "Angehöriger Wert", "Agehörigen Wert"},
      {"Relative", "Angehöriger", "Angehöriger"},
  };
  const KeyKind S = KeyKind::Sdx, D = KeyKind::DoubleMetaphone;
  const std::vector<KeyRow> keys = {
      {"SDXName", "SDEXName", S, {"Name"}},
      {"SDXLastName", "SDEXLastName", S, {"LastName"}},
      {"SDXFirstName", "SDEXFirstName", S, {"FirstName"}},
      {"SDXMiddleName", "SDEXMiddleName", S, {"MiddleName"}},
      {"SDXWholeName", "SDEXWholeName", S, {"WholeName"}},
      {"SDXFunction", "SDEXFunction", S, {"Function"}},
      {"SDXAddress", "SDEXAddress", S, {"Address"}},
      {"SDXAddressCountry", "SDEXAddressCountry", S, {"Country"}},
      {"SDXAddrOther", "SDEXAddressOther", S, {"AddrOther"}},
      {"DMName", "DMName", D, {"Name"}},
      {"DMLastName", "DMLastName", D, {"LastName"}},
      {"DMFirstName", "DMFirstName", D, {"FirstName"}},
      {"DMMiddleName", "DMMiddleName", D, {"MiddleName"}},
      {"DMWholeName", "DMWholeName", D, {"WholeName"}},
      {"DMFunction", "DMFunction", D, {"Function"}},
      {"DMAddress", "DMAddress", D, {"Address"}},
      {"DMAddressCountry", "DMAddressCountry", D, {"Country"}},
      {"DMAddrOther", "DMAddressOther", D, {"AddrOther"}},
  };
  return Build(ListId::EU, "EU", "EUGlobal", 0, 29, 53, {204, 255, 204}, fields, keys);
}

ListSchema BuildUn() {
  const std::vector<FieldRow> fields = {
      {"RowId", "", ""},
      {"DataId", "Data ID", "Data ID"},
      {"Version", "Version", "Version"},
      {"FirstName", "Name 1", "Name 1"},
      {"SecondName", "Name 2", "Name 2"},
      {"UNListType", "UN Listentyp", "UN Listentyp"},
      {"ReferenceNumber", "Referenz", "Referenz"},
      {"ListedOn", "Gelistet in ", "Gelistet in"},
      {"OriginalName", "Originalname", "Original Name"},
      {"Comments1", "Kommentar", "Kommentar"},
      {"Nationality", "Nationalität", "Nationalität"},
      {"ListType", "Listentyp", "Listentyp"},
      {"LastUpdate", "Letztes Update", "Letztes Update"},
      {"Alias", "Alias", "Alias"},
      {"Address", "Adressen", "Adressen"},
      {"BirthDate", "Geburtstag", "Geburtstag"},
      {"BirthPlace", "Geburtsort", "Geburtsort"},
      {"Document", "Ausweis", "Passport"},
      {"SortKey", "Sortierung", "Sortierung"},
      {"SortDate", "Sortierdatum", "Sortierdatum"},
  };
  const KeyKind S = KeyKind::Sdx, D = KeyKind::DoubleMetaphone;
  const std::vector<KeyRow> keys = {
      {"SDXFirstName", "SDEXFirstName", S, {"FirstName"}},
      {"SDXSecondName", "SDEXSecondName", S, {"SecondName"}},
      {"SDXAlias", "SDEXAlias", S, {"Alias"}},
      {"SDXAddress", "SDEXAddress", S, {"Address"}},
      {"DMFirstName", "DMXFirstName", D, {"FirstName"}},
      {"DMSecondName", "DMXSecondName", D, {"SecondName"}},
      {"DMAlias", "DMEXAlias", D, {"Alias"}},
      {"DMAddress", "DMXAddress", D, {"Address"}},
  };
  return Build(ListId::UN, "UN", "UNGlobalINDIV", 1, 20, 46, {204, 255, 255}, fields, keys);
}

ListSchema BuildUk() {
  const std::vector<FieldRow> fields = {
      {"Name6", "Name 6", "Name 6"},
      {"Name1", "Name 1", "Name 1"},
      {"Name2", "Name 2", "Name 2"},
      {"Name3", "Name 3", "Name 3"},
      {"Name4", "Name 4", "Name 4"},
      {"Name5", "Name 5", "Name 5"},
      {"Title", "Titel", "Titel"},
      {"BirthDate", "Geburtstag", "Geburtstag"},
      {"BirthTown", "Geburtsort", "Geburtsort"},
      {"BirthCountry", "Geburtsland", "Geburtsland"},
      {"Nationality", "Nationaliät", "Nationalität"},
      {"PassportDetails", "Passport Details", "Passport Details"},
      {"NINumber", "NI Nummer", "NI Nummer"},
      {"Position", "Position", "Position"},
      {"Address1", "Adresse 1", "Adresse 1"},
      {"Address2", "Adresse 2", "Adresse 2"},
      {"Address3", "Adresse 3", "Adresse 3"},
      {"Address4", "Adresse 4", "Adresse 4"},
      {"Address5", "Adresse 5", "Adresse 5"},
      {"Address6", "Adresse 6", "Adresse 6"},
      {"PostCode", "ZIP Code", "ZIP Code"},
      {"Country", "Land", "Land"},
      {"OtherInformation", "Allg.Info ", "Allgemeine Information"},
      {"GroupType", "Gruppe", "Gruppe"},
      {"AliasType", "Alias Typ", "Alias Typ"},
      {"Regime", "Regime", "Regime"},
      {"ListedOn", "Gelistet in ", "Gelistet in"},
      {"LastUpdated", "letztes Update", "letztes Update"},
      {"GroupID", "Gruppen ID", "Gruppen ID"},
  };
  const std::vector<const char*> names = {"Name6", "Name1", "Name2", "Name3", "Name4", "Name5"};
  const std::vector<const char*> addresses = {"Address1", "Address2", "Address3",
                                              "Address4", "Address5", "Address6"};
  const std::vector<KeyRow> keys = {
      {"SDXName", "SDEXName", KeyKind::Sdx, names},
      {"SDXAddress", "SDEXAddress", KeyKind::Sdx, addresses},
      {"DMName", "DMName", KeyKind::DoubleMetaphone, names},
      {"DMAddress", "DMAddress", KeyKind::DoubleMetaphone, addresses},
  };
  return Build(ListId::UK, "UK", "Boe", 0, 29, 46, {255, 255, 204}, fields, keys);
}

ListSchema BuildUs() {
  const std::vector<FieldRow> fields = {
      {"Source", "Source List", "Source List"},
      {"EntityNumber", "Entity No.", "Entity No."},
      {"SDNType", "SDN Type", "SDN Type"},
      {"Programs", "Programs", "Programs"},
      {"Name", "Name", "Name"},
      {"Title", "Title", "Title"},
      {"Address", "Address", "Address"},
      {"City", "City", "City"},
      {"StateProvince", "State / Province", "State/Province"},
      {"PostalCode", "Postal Code", "Postal Code"},
      {"Country", "Country", "Country"},
      {"FRNotice", "FR Notice", "FR Notice"},
      {"EffectiveDate", "Effective Date", "Effective Date"},
      {"Expired", "Expired", "Expire"},
      {"StandardOrder", "Standard order", "Standard order"},
      {"LicenseRequired", "License Required", "License Required"},
      {"LicensePolicy", "License Policy", "License Policy"},
      {"CallSign", "Call Sign", "Call Sign"},
      {"VesselType", "Vessel Type", "Vessel Type"},
      {"Tonnage", "Tonnage", "Tonnage"},
      {"RegisteredTonnage", "Registered Tonnage", "Registered Tonnage"},
      {"VesselFlag", "Vessel Flag", "Vessel Flag"},
      {"VesselOwner", "Vessel Owner", "Vessel Owner"},
      {"Remarks", "Remarks", "Remarks"},
      {"AddressNumber", "Address No.", "Address No."},
      {"AddressRemarks", "Address Remarks", "Address Remarks"},
      {"AlternateNumber", "Alternate No", "Alternate No."},
      {"AlternateType", "Alternate Type", "Alternate Type"},
      {"AlternateName", "Alternate Name", "Alternate Name"},
      {"AlternateRemarks", "Alternate Remarks", "Alternate Remarks"},
      {"WebLink", "Web Link", "Web Link"},
  };
  const std::vector<KeyRow> keys = {
      {"SDXName", "SDEXName", KeyKind::Sdx, {"Name", "AlternateName"}},
      {"SDXAddress", "SDEXAddress", KeyKind::Sdx, {"Address", "City"}},
      {"DMName", "DMName", KeyKind::DoubleMetaphone, {"Name", "AlternateName"}},
      {"DMAddress", "DMAddress", KeyKind::DoubleMetaphone, {"Address", "City"}},
  };
  return Build(ListId::US, "US", "USConsolidated", 0, 32, 46, {255, 255, 204}, fields, keys);
}

}  // namespace

bool ListSchema::IsShown(int position, std::string_view selection) const {
  if (position < firstField || position >= fieldEnd) return false;
  const int index = SelectionIndex(position);
  return index < static_cast<int>(selection.size()) && selection[static_cast<std::size_t>(index)] == '1';
}

int ListSchema::PositionOf(std::string_view columnName) const {
  for (int i = 0; i < ColumnCount(); ++i) {
    if (columns[static_cast<std::size_t>(i)].name == columnName) return i;
  }
  return -1;
}

const ListSchema& Schema(ListId list) {
  static const std::array<ListSchema, 4> schemas = {BuildEu(), BuildUn(), BuildUk(), BuildUs()};
  return schemas[static_cast<std::size_t>(Index(list))];
}

}  // namespace vmk::screening
