#pragma once
// The roots of the class tree. Objects are referred to by pointer and never copied:
// TPersistent descendants copy their contents with Assign() instead.

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  virtual const char* ClassName() const { return "TObject"; }
};

class TPersistent : public TObject {
public:
  const char* ClassName() const override { return "TPersistent"; }

  // Copies `source` into this object. The base asks `source` to do it (AssignTo), so a
  // class can learn to copy itself into a class that does not know about it.
  virtual void Assign(const TPersistent& source);

protected:
  // Raises EConvertError "Cannot assign a <source> to a <destination>".
  virtual void AssignTo(TPersistent& destination) const;
};
