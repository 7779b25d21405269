#pragma once
// Field definitions: what a data set knows of its columns before it has fields, filled by
// the data set when it opens. Its default fields are made from them, one per definition.

#include <memory>

#include "platform/classes/Collection.h"
#include "platform/db/FieldTypes.h"
#include "platform/text/AnsiText.h"

class TComponent;
class TDataSet;
class TField;
class TFieldDefs;

enum TFieldAttribute : unsigned {
  faHiddenCol = 1u << 0,  // no default field is made for it
  faReadonly = 1u << 1,
  faFixed = 1u << 2,  // fixed-length text
};
using TFieldAttributes = unsigned;  // TFieldAttribute flags

class TFieldDef : public TCollectionItem {
public:
  explicit TFieldDef(TCollection* collection);
  ~TFieldDef() override;

  const char* ClassName() const override { return "TFieldDef"; }

  const AnsiString& Name() const { return name_; }
  void SetName(const AnsiString& name) { name_ = name; }
  TFieldType DataType() const { return dataType_; }
  void SetDataType(TFieldType type) { dataType_ = type; }
  int Size() const { return size_; }
  void SetSize(int size) { size_ = size; }
  int Precision() const { return precision_; }
  void SetPrecision(int precision) { precision_ = precision; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  // 1-based column number; Add() numbers definitions by position.
  int FieldNo() const { return fieldNo_; }
  void SetFieldNo(int fieldNo) { fieldNo_ = fieldNo; }
  TFieldAttributes Attributes() const { return attributes_; }
  void SetAttributes(TFieldAttributes attributes) { attributes_ = attributes; }

  // The members of a structured column, created on first use.
  TFieldDefs& ChildDefs();
  bool HasChildDefs() const;
  // The structured definition this one is a member of, or nullptr.
  TFieldDef* ParentDef() const;

  // A field of the type's default class with this definition's name, size, number and
  // flags, owned by `owner` and attached to `dataSet`. Raises EDatabaseError for a type
  // without a field class.
  TField* CreateField(TComponent* owner, TDataSet* dataSet) const;

private:
  AnsiString name_;
  TFieldType dataType_ = ftUnknown;
  int size_ = 0;
  int precision_ = 0;
  int fieldNo_ = 0;
  TFieldAttributes attributes_ = 0;
  bool required_ = false;
  std::unique_ptr<TFieldDefs> childDefs_;
};

class TFieldDefs : public TOwnedCollection {
public:
  // `parentDef` is given for the members of a structured column.
  explicit TFieldDefs(TDataSet* dataSet, TFieldDef* parentDef = nullptr);

  const char* ClassName() const override { return "TFieldDefs"; }

  TDataSet* DataSet() const { return dataSet_; }
  TFieldDef* ParentDef() const { return parentDef_; }
  // Raises EListError for an index outside 0..Count()-1.
  TFieldDef* Items(int index) const;
  TFieldDef* operator[](int index) const { return Items(index); }
  // Appends a definition numbered by its position.
  TFieldDef* Add(const AnsiString& name, TFieldType dataType, int size = 0, bool required = false);
  // By name, ignoring ASCII case; -1 when there is none.
  int IndexOf(const AnsiString& name) const;

  // False until the data set has described its columns, and again once it marks them out
  // of date (for example when its statement changes).
  bool Updated() const { return updated_; }
  void SetUpdated(bool updated) { updated_ = updated; }
  // Has the data set describe its columns when they are out of date.
  void Update();

private:
  TDataSet* dataSet_;
  TFieldDef* parentDef_;
  bool updated_ = false;
};
