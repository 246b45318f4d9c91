// The open document and the main view as the cable link sees them.
#pragma once

#include "app/TavrinViewModel.h"
#include "document/TavrinDoc.h"
#include "transfer/CableDocument.h"

namespace tavrin {

class ViewCableDocument : public CableDocument {
 public:
  ViewCableDocument(CTavrinDoc& doc, TavrinViewModel& view) : doc_(doc), view_(view) {}

  std::string SettingsPath() const override { return doc_.SettingsPath(); }
  std::string SettingsTitle() const override { return doc_.SettingsTitle(); }
  bool IsModified() const override { return doc_.IsModified(); }
  void SetModified(bool modified) override { doc_.SetModified(modified); }
  bool IsUntitled() const override { return doc_.IsUntitled(); }
  const SettingsImage& Image() const override { return doc_.image(); }
  void InitImage() override { doc_.InitImage(); }
  bool PutImageBytes(const uint8_t* data, std::size_t length, std::size_t offset) override {
    return doc_.PutImageBytes(data, length, offset);
  }
  void NewDocument() override { doc_.NewDocument(); }
  void RefreshFromDocument() override { view_.RefreshFromDocument(); }
  void UpdateTitle() override { view_.UpdateTitle(); }

 private:
  CTavrinDoc& doc_;
  TavrinViewModel& view_;
};

}  // namespace tavrin
