// SPDX-License-Identifier: GPL-3.0-or-later
// Many files converted into one output folder, one after another: which files
// are taken, the names they are written under (never over an existing file)
// and the queue that runs them, which may be cancelled from another thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "convertfile.h"

namespace kavelin::batch {

// Whether a file of this name can be converted: .txt, .rtf, .docx, .odt (any case).
bool isAccepted(std::string_view path);

// The accepted files directly in `folder`, sorted by name. Sets `error` (and
// returns nothing) when the folder cannot be read.
std::vector<std::string> acceptedFilesIn(const std::string& folder, std::string& error);

// `fileName` when `taken` says it is free, else the first free one of
// "stem (2).ext", "stem (3).ext", ... ("name (2)" for a name without an
// extension; a leading dot starts no extension).
std::string freeName(const std::string& fileName,
                     const std::function<bool(const std::string&)>& taken);

// Where a batch's output goes unless chosen: "converted" beside `firstFile`.
std::string defaultOutputFolder(const std::string& firstFile);

// One file of a batch, as reported when it is through.
struct Outcome {
  std::size_t index = 0;  // in the batch's input list
  std::string input;
  std::string output;  // the file written; empty when none was
  FileResult result;
};

struct Events {
  std::function<void(std::size_t index)> started;  // before a file is read
  // Parts of a DOCX or ODT file converted so far.
  std::function<void(std::size_t index, std::size_t done, std::size_t total)> progress;
  std::function<void(const Outcome&)> finished;
};

class Queue {
 public:
  Queue(std::vector<std::string> inputs, std::string outputFolder, FileRequest request);

  // Converts the files in order on the calling thread, each into the output
  // folder (made when missing) under its own name, numbered when the name is
  // taken. Stops after the current file once cancel() is called. Returns the
  // files finished; sets `error` when the output folder cannot be made, before
  // any file is read.
  std::size_t run(const Events& events, std::string& error);

  // Any thread.
  void cancel() { cancelled_ = true; }
  bool cancelled() const { return cancelled_; }

  const std::vector<std::string>& inputs() const { return inputs_; }
  const std::string& outputFolder() const { return outputFolder_; }

 private:
  std::vector<std::string> inputs_;
  std::string outputFolder_;
  FileRequest request_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace kavelin::batch
