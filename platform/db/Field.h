#pragma once
// Fields: one object per column of a data set. A field holds no value of its own; it asks
// its data set for the value in the record the data set is looking at (the current record,
// or the record being calculated or filtered) and turns it into text and numbers.
//
// A field that a data set makes for itself when it opens (a default field) belongs to the
// data set and is destroyed when it closes. A field created by other code and attached with
// SetDataSet() is a declared field: it outlives opening and closing and belongs to its owner.
// While a data set has declared fields it makes no default fields.

#include <cstdint>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/db/FieldTypes.h"
#include "platform/db/FieldValue.h"

class TDataSet;

enum TFieldKind { fkData, fkCalculated };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// How the database fills a field of a new record by itself.
enum TAutoRefreshFlag { arNone, arAutoInc, arDefault };

class TField : public TComponent {
public:
  ~TField() override;

  const char* ClassName() const override { return "TField"; }

  TDataSet* DataSet() const { return dataSet_; }
  // Appends the field to `dataSet`'s fields, out of its current data set's. Raises
  // EDatabaseError while either data set is open.
  void SetDataSet(TDataSet* dataSet);

  const AnsiString& FieldName() const { return fieldName_; }
  // Raises EDatabaseError while the data set is open.
  void SetFieldName(const AnsiString& name);
  // The 1-based number of the column the field reads; 0 for a calculated field and for a
  // field not yet bound by an open.
  int FieldNo() const { return fieldNo_; }
  TFieldType DataType() const { return dataType_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  // Raises EDatabaseError while the data set is open.
  void SetFieldKind(TFieldKind kind);
  bool Calculated() const { return fieldKind_ == fkCalculated; }
  // Characters of a text field, bytes of a binary field, digits after the point of a BCD
  // field; 0 for other types.
  int Size() const { return size_; }
  // Raises EDatabaseError while the data set is open.
  void SetSize(int size);

  // Empty unless set; DisplayName() is the label, or the field name without one.
  const AnsiString& DisplayLabel() const { return displayLabel_; }
  void SetDisplayLabel(const AnsiString& label);
  const AnsiString& DisplayName() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
  // In characters. Until set, a default for the type: the size of a text field, a width
  // that fits the values of other types.
  int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultDisplayWidth(); }
  void SetDisplayWidth(int width) { displayWidth_ = width; }
  // Right for numbers, left for everything else, until set.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment) { alignment_ = alignment; }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Position among the data set's fields; -1 without a data set.
  int Index() const;
  // Raises EListError for a position outside the data set's fields.
  void SetIndex(int index);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  // arAutoInc for a value the database assigns itself (an SQLite INTEGER PRIMARY KEY).
  TAutoRefreshFlag AutoGenerateValue() const { return autoGenerateValue_; }
  void SetAutoGenerateValue(TAutoRefreshFlag flag) { autoGenerateValue_ = flag; }
  // True for a writable data field of a data set that can be modified.
  bool CanModify() const;

  // Null without a data set, while it is closed and when it has no record.
  TFieldValue Value() const;
  // Only a calculated field takes a value, and only while OnCalcFields computes it; anything
  // else raises EDatabaseError.
  void SetValue(const TFieldValue& value);
  bool IsNull() const;

  // Null gives the empty text and zero. A conversion that cannot be made (text that is no
  // number, a number out of range) raises EConvertError.
  AnsiString AsString() const;
  std::int32_t AsInteger() const;
  std::int64_t AsLargeInt() const { return GetAsLargeInt(Value()); }
  double AsFloat() const { return GetAsFloat(Value()); }
  bool AsBoolean() const { return GetAsBoolean(Value()); }
  // What a grid shows and what an editor starts from: both the field's text.
  AnsiString DisplayText() const { return AsString(); }
  AnsiString Text() const { return AsString(); }

  // Asks the controls on the data set to move the input focus to this field.
  void FocusControl();

protected:
  TField(TComponent* owner, TFieldType dataType);
  // For a class whose text is the stored text itself or the digits of its stored number:
  // AsString() then asks the data set for it before building the value
  // (TDataSet::GetFieldText).
  TField(TComponent* owner, TFieldType dataType, bool storedText);

  virtual AnsiString GetAsString(const TFieldValue& value) const;
  virtual std::int64_t GetAsLargeInt(const TFieldValue& value) const;
  virtual double GetAsFloat(const TFieldValue& value) const;
  virtual bool GetAsBoolean(const TFieldValue& value) const;
  virtual int DefaultDisplayWidth() const;

  [[noreturn]] void ConvertError(const AnsiString& text, const char* kind) const;

private:
  friend class TDataSet;
  friend class TFieldDef;

  void checkInactive() const;
  void layoutChanged() const;

  TDataSet* dataSet_ = nullptr;
  AnsiString fieldName_;
  AnsiString displayLabel_;
  TFieldType dataType_;
  TFieldKind fieldKind_ = fkData;
  TAlignment alignment_;
  int fieldNo_ = 0;
  int size_ = 0;
  int displayWidth_ = 0;
  bool visible_ = true;
  bool readOnly_ = false;
  bool required_ = false;
  bool storedText_ = false;
  TAutoRefreshFlag autoGenerateValue_ = arNone;
};

class TStringField : public TField {
public:
  explicit TStringField(TComponent* owner) : TStringField(owner, ftString) {}
  const char* ClassName() const override { return "TStringField"; }

protected:
  TStringField(TComponent* owner, TFieldType dataType);
  // The data set may hand the text over directly (TDataSet::GetFieldText), so no class below
  // may shape it otherwise.
  AnsiString GetAsString(const TFieldValue& value) const final { return TField::GetAsString(value); }
};

class TWideStringField : public TStringField {
public:
  explicit TWideStringField(TComponent* owner) : TStringField(owner, ftWideString) {}
  const char* ClassName() const override { return "TWideStringField"; }
};

class TGuidField : public TStringField {
public:
  explicit TGuidField(TComponent* owner);
  const char* ClassName() const override { return "TGuidField"; }
};

class TIntegerField : public TField {
public:
  explicit TIntegerField(TComponent* owner) : TIntegerField(owner, ftInteger) {}
  const char* ClassName() const override { return "TIntegerField"; }

protected:
  TIntegerField(TComponent* owner, TFieldType dataType) : TField(owner, dataType, true) {}
  // The data set may hand the digits over directly (TDataSet::GetFieldText).
  AnsiString GetAsString(const TFieldValue& value) const final { return TField::GetAsString(value); }
};

class TSmallintField : public TIntegerField {
public:
  explicit TSmallintField(TComponent* owner) : TIntegerField(owner, ftSmallint) {}
  const char* ClassName() const override { return "TSmallintField"; }
};

class TWordField : public TIntegerField {
public:
  explicit TWordField(TComponent* owner) : TIntegerField(owner, ftWord) {}
  const char* ClassName() const override { return "TWordField"; }
};

class TLargeintField : public TField {
public:
  explicit TLargeintField(TComponent* owner) : TField(owner, ftLargeint, true) {}
  const char* ClassName() const override { return "TLargeintField"; }

protected:
  AnsiString GetAsString(const TFieldValue& value) const final { return TField::GetAsString(value); }
};

class TFloatField : public TField {
public:
  explicit TFloatField(TComponent* owner) : TField(owner, ftFloat) {}
  const char* ClassName() const override { return "TFloatField"; }

protected:
  using TField::TField;
};

class TCurrencyField : public TFloatField {
public:
  explicit TCurrencyField(TComponent* owner) : TFloatField(owner, ftCurrency) {}
  const char* ClassName() const override { return "TCurrencyField"; }
};

class TBCDField : public TField {
public:
  explicit TBCDField(TComponent* owner) : TField(owner, ftBCD) {}
  const char* ClassName() const override { return "TBCDField"; }
};

// Its values come as the 34-byte decimal record of the record buffer (precision, sign and
// places, then two digits a byte) or as a plain number.
class TFMTBCDField : public TField {
public:
  explicit TFMTBCDField(TComponent* owner) : TField(owner, ftFMTBcd) {}
  const char* ClassName() const override { return "TFMTBCDField"; }

protected:
  AnsiString GetAsString(const TFieldValue& value) const override;
  std::int64_t GetAsLargeInt(const TFieldValue& value) const override;
  double GetAsFloat(const TFieldValue& value) const override;
};

class TBooleanField : public TField {
public:
  explicit TBooleanField(TComponent* owner) : TField(owner, ftBoolean) {}
  const char* ClassName() const override { return "TBooleanField"; }
};

// Text "yyyy-mm-dd hh:nn:ss"; TDateField and TTimeField show only their part.
class TDateTimeField : public TField {
public:
  explicit TDateTimeField(TComponent* owner) : TField(owner, ftDateTime) {}
  const char* ClassName() const override { return "TDateTimeField"; }

protected:
  using TField::TField;
  AnsiString GetAsString(const TFieldValue& value) const override;
};

class TDateField : public TDateTimeField {
public:
  explicit TDateField(TComponent* owner) : TDateTimeField(owner, ftDate) {}
  const char* ClassName() const override { return "TDateField"; }

protected:
  AnsiString GetAsString(const TFieldValue& value) const override;
};

class TTimeField : public TDateTimeField {
public:
  explicit TTimeField(TComponent* owner) : TDateTimeField(owner, ftTime) {}
  const char* ClassName() const override { return "TTimeField"; }

protected:
  AnsiString GetAsString(const TFieldValue& value) const override;
};

class TBytesField : public TField {
public:
  explicit TBytesField(TComponent* owner) : TField(owner, ftBytes) {}
  const char* ClassName() const override { return "TBytesField"; }

protected:
  using TField::TField;
};

class TVarBytesField : public TBytesField {
public:
  explicit TVarBytesField(TComponent* owner) : TBytesField(owner, ftVarBytes) {}
  const char* ClassName() const override { return "TVarBytesField"; }
};

class TBlobField : public TField {
public:
  explicit TBlobField(TComponent* owner) : TField(owner, ftBlob) {}
  const char* ClassName() const override { return "TBlobField"; }

protected:
  using TField::TField;
};

class TMemoField : public TBlobField {
public:
  explicit TMemoField(TComponent* owner) : TBlobField(owner, ftMemo) {}
  const char* ClassName() const override { return "TMemoField"; }
};

class TVariantField : public TField {
public:
  explicit TVariantField(TComponent* owner) : TField(owner, ftVariant) {}
  const char* ClassName() const override { return "TVariantField"; }
};

// Creates a field of one class with the given owner; FieldClassOf<T> makes a T.
using TFieldClass = TField* (*)(TComponent* owner);

template <class Field>
TField* FieldClassOf(TComponent* owner) {
  return new Field(owner);
}

// The class a data set uses for a column of `type`; nullptr for a type no column of ours
// can have.
TFieldClass DefaultFieldClass(TFieldType type);

// The fields of one data set, in their order. The list does not own them.
class TFields {
public:
  explicit TFields(TDataSet* dataSet) : dataSet_(dataSet) {}
  TFields(const TFields&) = delete;
  TFields& operator=(const TFields&) = delete;

  TDataSet* DataSet() const { return dataSet_; }
  int Count() const { return static_cast<int>(list_.size()); }
  // Raises EListError for an index outside 0..Count()-1.
  TField* operator[](int index) const;
  TField* Fields(int index) const { return (*this)[index]; }
  int IndexOf(const TField* field) const;
  // By field name, ignoring ASCII case; nullptr when there is none.
  TField* FindField(const AnsiString& name) const;
  // Raises EDatabaseError "Field 'name' not found".
  TField& FieldByName(const AnsiString& name) const;

private:
  friend class TField;
  friend class TDataSet;

  void add(TField* field);
  void remove(TField* field);
  void move(TField* field, int index);

  TDataSet* dataSet_;
  std::vector<TField*> list_;
};
