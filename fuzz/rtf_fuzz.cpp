// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader on arbitrary bytes. A failed read leaves the model as it was
// and points inside the input; a successful one writes back to ASCII RTF that
// reads to the same model and is written again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "rtf.h"

namespace {

kavelin::RichDocument sentinel() {
  kavelin::RichDocument doc;
  kavelin::RichParagraph p;
  kavelin::RichRun run;
  run.text = u"sentinel";
  run.format.font = u"Sentinel";
  p.runs.push_back(run);
  doc.paragraphs.push_back(p);
  return doc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  static const kavelin::RichDocument untouched = sentinel();
  kavelin::RichDocument doc = untouched;
  kavelin::RtfError error;
  kavelin::RtfNotes notes;
  if (!kavelin::readRtf(input, doc, &error, &notes)) {
    FUZZ_CHECK(doc == untouched);
    FUZZ_CHECK(size == 0 ? error.offset == 0 : error.offset < size);
    FUZZ_CHECK(!error.message.empty());
    return 0;
  }
  const std::string written = kavelin::writeRtf(doc);
  for (char c : written) FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
  kavelin::RichDocument again;
  kavelin::RtfNotes notesAgain;
  FUZZ_CHECK(kavelin::readRtf(written, again, nullptr, &notesAgain));
  FUZZ_CHECK(!notesAgain.endedEarly);
  FUZZ_CHECK(again == doc);
  FUZZ_CHECK(kavelin::writeRtf(again) == written);
  return 0;
}
