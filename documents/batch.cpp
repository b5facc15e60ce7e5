// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kavelin::batch {
namespace fs = std::filesystem;

namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The extension with its dot, or empty; a name's leading dot starts none.
std::size_t extensionStart(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name.size() : dot;
}

bool present(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

}  // namespace

bool isAccepted(std::string_view path) {
  const std::string name = fs::path(std::string(path)).filename().string();
  const std::string ext = lower(std::string_view(name).substr(extensionStart(name)));
  return ext == ".txt" || ext == ".rtf" || ext == ".docx" || ext == ".odt";
}

std::vector<std::string> acceptedFilesIn(const std::string& folder, std::string& error) {
  std::vector<std::string> files;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError) && isAccepted(it->path().string())) {
      files.push_back(it->path().string());
    }
  }
  if (ec) {
    error = folder + ": " + ec.message();
    return {};
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string freeName(const std::string& fileName,
                     const std::function<bool(const std::string&)>& taken) {
  if (!taken(fileName)) return fileName;
  const std::size_t ext = extensionStart(fileName);
  const std::string stem = fileName.substr(0, ext);
  const std::string extension = fileName.substr(ext);
  for (unsigned n = 2;; ++n) {
    std::string candidate = stem + " (" + std::to_string(n) + ")" + extension;
    if (!taken(candidate)) return candidate;
  }
}

std::string defaultOutputFolder(const std::string& firstFile) {
  return (fs::path(firstFile).parent_path() / "converted").string();
}

Queue::Queue(std::vector<std::string> inputs, std::string outputFolder, FileRequest request)
    : inputs_(std::move(inputs)),
      outputFolder_(std::move(outputFolder)),
      request_(std::move(request)) {}

std::size_t Queue::run(const Events& events, std::string& error) {
  std::error_code ec;
  fs::create_directories(outputFolder_, ec);
  if (ec || !fs::is_directory(outputFolder_)) {
    error = outputFolder_ + ": " + (ec ? ec.message() : "not a folder");
    return 0;
  }
  const fs::path folder(outputFolder_);
  std::size_t finished = 0;
  for (std::size_t i = 0; i < inputs_.size() && !cancelled_; ++i) {
    if (events.started) events.started(i);
    Outcome outcome;
    outcome.index = i;
    outcome.input = inputs_[i];
    const std::string name = freeName(fs::path(inputs_[i]).filename().string(),
                                      [&](const std::string& n) { return present(folder / n); });
    FileRequest request = request_;
    request.progress = [&](std::size_t done, std::size_t total) {
      if (events.progress) events.progress(i, done, total);
      return true;
    };
    const std::string output = (folder / name).string();
    outcome.result = convertFile(inputs_[i], output, request);
    if (outcome.result.ok) outcome.output = output;
    ++finished;
    if (events.finished) events.finished(outcome);
  }
  return finished;
}

}  // namespace kavelin::batch
