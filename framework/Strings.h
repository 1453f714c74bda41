#pragma once
// The abstract string list: a list of lines that descendants store as they like (in memory, in
// an edit control). Whole-text access, adding lists, updates and loading and saving are built
// here on the few operations a descendant supplies.

#include <string>

#include "framework/Persistent.h"

namespace kl {

class TStream;

class TStrings : public TPersistent {
 public:
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s);
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  // Adds s at the end; answers its index.
  virtual int Add(const std::string& s);
  virtual void AddStrings(const TStrings& strings);

  std::string operator[](int index) const { return Get(index); }

  // The lines joined, each followed by CR LF.
  virtual std::string Text() const;
  // Replaces the lines with those of text, split at CR LF, LF or a lone CR.
  virtual void SetText(const std::string& text);

  // Nested updates: the descendant hears SetUpdateState(true) when the first begins and
  // SetUpdateState(false) when the last ends.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream);
  virtual void LoadFromFile(const std::string& fileName);
  virtual void SaveToFile(const std::string& fileName);

  void Assign(const TPersistent& source) override;
  const char* ClassName() const override { return "TStrings"; }

 protected:
  virtual void SetUpdateState(bool /*updating*/) {}

 private:
  int updateCount_ = 0;
};

}  // namespace kl
