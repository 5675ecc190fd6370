#include "fake_platform.h"

#include "quillet.h"

namespace quillet::testing {
namespace {

bool EndsWith(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() &&
         s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

class FaultyReader : public SequentialFile {
 public:
  FaultyReader(std::unique_ptr<SequentialFile> inner, const Fault* fault)
      : inner_(std::move(inner)), fault_(fault) {}
  int Read(char* buf, size_t n, size_t* got) override {
    if (fault_ != nullptr) {
      if (passed_ >= fault_->after_bytes) return fault_->err;
      n = std::min(n, fault_->after_bytes - passed_);
    }
    int err = inner_->Read(buf, n, got);
    passed_ += *got;
    return err;
  }

 private:
  std::unique_ptr<SequentialFile> inner_;
  const Fault* fault_;
  size_t passed_ = 0;
};

class FaultyWriter : public WritableFile {
 public:
  FaultyWriter(std::unique_ptr<WritableFile> inner, const Fault* write, const Fault* close)
      : inner_(std::move(inner)), write_(write), close_(close) {}
  int Append(const char* data, size_t n) override {
    if (write_ != nullptr && passed_ + n > write_->after_bytes) {
      size_t room = write_->after_bytes - std::min(passed_, write_->after_bytes);
      inner_->Append(data, room);  // the part that fit is on disk, as with a full disk
      passed_ += room;
      return write_->err;
    }
    passed_ += n;
    return inner_->Append(data, n);
  }
  int Close() override {
    int err = inner_->Close();
    return close_ != nullptr ? close_->err : err;
  }

 private:
  std::unique_ptr<WritableFile> inner_;
  const Fault* write_;
  const Fault* close_;
  size_t passed_ = 0;
};

}  // namespace

DateLocale CLocaleDateNames() {
  DateLocale l;
  l.user_locale = false;
  l.short_format = "%m/%d/%y";
  const char* ad[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const char* fd[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                       "Thursday", "Friday", "Saturday"};
  const char* am[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* fm[12] = {"January", "February", "March",     "April",   "May",      "June",
                        "July",    "August",   "September", "October", "November", "December"};
  for (int i = 0; i < 7; ++i) {
    l.abbreviated_days[i] = ad[i];
    l.full_days[i] = fd[i];
  }
  for (int i = 0; i < 12; ++i) {
    l.abbreviated_months[i] = am[i];
    l.full_months[i] = fm[i];
  }
  return l;
}

FakePlatform::FakePlatform() : locale_(CLocaleDateNames()) { SetCurrentPlatform(this); }
FakePlatform::~FakePlatform() { SetCurrentPlatform(nullptr); }

const Fault* FakePlatform::FaultFor(Op op, const std::string& path) const {
  for (const Fault& f : faults_) {
    if (f.op == op && EndsWith(path, f.path_suffix)) return &f;
  }
  return nullptr;
}

int FakePlatform::WriteStdout(std::string_view bytes) {
  if (const Fault* f = FaultFor(Op::kStdout, "")) {
    if (out_.size() + bytes.size() > f->after_bytes) return f->err;
  }
  out_.append(bytes);
  return 0;
}

int FakePlatform::OpenRead(const std::string& path, std::unique_ptr<SequentialFile>* file) {
  if (const Fault* f = FaultFor(Op::kOpenRead, path)) return f->err;
  std::unique_ptr<SequentialFile> inner;
  if (int err = real_.OpenRead(path, &inner)) return err;
  *file = std::make_unique<FaultyReader>(std::move(inner), FaultFor(Op::kRead, path));
  return 0;
}

int FakePlatform::ReadWholeFile(const std::string& path, std::string* contents) {
  if (const Fault* f = FaultFor(Op::kReadWhole, path)) return f->err;
  return real_.ReadWholeFile(path, contents);
}

int FakePlatform::CreateLike(const std::string& path, const SourceFile& model,
                             std::unique_ptr<WritableFile>* file) {
  if (const Fault* f = FaultFor(Op::kCreate, path)) return f->err;
  std::unique_ptr<WritableFile> inner;
  if (int err = real_.CreateLike(path, model, &inner)) return err;
  *file = std::make_unique<FaultyWriter>(std::move(inner), FaultFor(Op::kWrite, path),
                                         FaultFor(Op::kClose, path));
  return 0;
}

int FakePlatform::Rename(const std::string& from, const std::string& to) {
  if (const Fault* f = FaultFor(Op::kRename, to)) return f->err;
  return real_.Rename(from, to);
}

int FakePlatform::ListDir(const std::string& dir, std::vector<DirEntry>* entries) {
  if (const Fault* f = FaultFor(Op::kListDir, dir)) return f->err;
  return real_.ListDir(dir, entries);
}

void RunInProcess(const std::vector<std::string>& args) {
  TMyApplication app(args, "/usr/bin/quillet");
  app.Run();
}

}  // namespace quillet::testing
