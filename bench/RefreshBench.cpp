// Time for the reply reading of one refresh: the place reply, one current-conditions object
// and seven forecast days, read member by member from the recorded replies.
//   ours         UTF8toWIN on each reply, then SplitJSONArray/GetJSONValue (as the program)
//   ours-queries the same queries on replies converted beforehand
//   nlohmann     nlohmann::json::parse of the three replies, then the same members
//   simdjson     simdjson DOM parse of the three replies, then the same members
// The DOM contenders also turn every string they read into Windows-1252, so all produce the
// texts the widget shows. A check before the timing makes sure all read the same values.

#include "RefreshMembers.h"
#include "service/mJSON.h"
#include "service/mUTF8toWIN.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <simdjson.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Json = nlohmann::json;

std::string ReadFile(const std::string& name) {
  std::ifstream in(std::filesystem::path(WG_FIXTURES_DIR) / "service" / name, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "missing fixture %s\n", name.c_str());
    std::exit(2);
  }
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ReplySet {
  std::string name;
  std::string place;     // raw UTF-8 replies
  std::string current;
  std::string forecast;
  std::string placeWin;  // converted beforehand, for ours-queries
  std::string currentWin;
  std::string forecastWin;
  simdjson::padded_string placePadded;
  simdjson::padded_string currentPadded;
  simdjson::padded_string forecastPadded;
};

std::unique_ptr<ReplySet> MakeSet(std::string name, std::string place, const std::string& current,
                                  const std::string& forecast) {
  auto set = std::make_unique<ReplySet>();
  set->name = std::move(name);
  set->place = std::move(place);
  set->current = ReadFile(current);
  set->forecast = ReadFile(forecast);
  set->placeWin = UTF8toWIN(set->place);
  set->currentWin = UTF8toWIN(set->current);
  set->forecastWin = UTF8toWIN(set->forecast);
  set->placePadded = simdjson::padded_string(set->place);
  set->currentPadded = simdjson::padded_string(set->current);
  set->forecastPadded = simdjson::padded_string(set->forecast);
  return set;
}

// ---- sinks: where the values read go ----

struct Checksum {
  std::size_t bytes = 0;
  double numbers = 0;
  void Text(std::string_view s) { bytes += s.size() + 1; }
  void Number(double d) { numbers += d; }
};

// Values in one comparable form: numbers as numbers, whichever way they were read.
struct Record {
  std::vector<std::string> values;
  void Text(std::string_view s) {
    const std::string text(s);
    char* end = nullptr;
    const double d = std::strtod(text.c_str(), &end);
    if (!text.empty() && end == text.c_str() + text.size()) {
      Number(d);
    } else {
      values.push_back(text);
    }
  }
  void Number(double d) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "#%.17g", d);
    values.emplace_back(buf);
  }
};

// ---- ours ----

template <class Sink>
void OursQueries(const std::string& place, const std::string& current, const std::string& forecast, Sink& sink) {
  using namespace refresh;
  for (auto path : kPlace) sink.Text(GetJSONValue(place, path));
  const auto conditions = SplitJSONArray(current);
  for (auto path : kCurrent) sink.Text(GetJSONValue(conditions[1], path));
  const auto days = SplitJSONArray(GetJSONValue(forecast, kDays));
  const std::size_t count = days.size() - 1;
  auto day = [&](int i) -> const std::string& { return days[1 + (i - 1) % count]; };
  for (auto path : kToday) sink.Text(GetJSONValue(day(1), path));
  for (int i = 1; i <= kColumns; ++i) {
    for (auto path : kDayName) sink.Text(GetJSONValue(day(i), path));
  }
  for (int i = 1; i <= kColumns; ++i) {
    for (auto path : kDay) sink.Text(GetJSONValue(day(i), path));
    const auto pollen = SplitJSONArray(GetJSONValue(day(i), kPollenList));
    for (std::size_t k = 1; k < pollen.size(); ++k) {
      if (GetJSONValue(pollen[k], kPollenName) == kUvName) {
        for (auto path : kUv) sink.Text(GetJSONValue(pollen[k], path));
        break;
      }
    }
  }
}

template <class Sink>
void Ours(const ReplySet& set, Sink& sink) {
  OursQueries(UTF8toWIN(set.place), UTF8toWIN(set.current), UTF8toWIN(set.forecast), sink);
}

// ---- nlohmann::json ----

using Segments = std::vector<std::string>;

template <std::size_t N>
std::vector<Segments> SplitPaths(const std::array<std::string_view, N>& paths) {
  std::vector<Segments> out;
  for (auto path : paths) {
    Segments segments;
    std::size_t from = 0;
    for (;;) {
      const std::size_t slash = path.find('/', from);
      segments.emplace_back(path.substr(from, slash - from));
      if (slash == std::string_view::npos) break;
      from = slash + 1;
    }
    out.push_back(std::move(segments));
  }
  return out;
}

struct NlohmannPaths {
  std::vector<Segments> place = SplitPaths(refresh::kPlace);
  std::vector<Segments> current = SplitPaths(refresh::kCurrent);
  std::vector<Segments> today = SplitPaths(refresh::kToday);
  std::vector<Segments> dayName = SplitPaths(refresh::kDayName);
  std::vector<Segments> day = SplitPaths(refresh::kDay);
  std::vector<Segments> uv = SplitPaths(refresh::kUv);
};

const Json* Walk(const Json& node, const Segments& segments) {
  const Json* at = &node;
  for (const auto& segment : segments) {
    if (!at->is_object()) return nullptr;
    const auto it = at->find(segment);
    if (it == at->end()) return nullptr;
    at = &*it;
  }
  return at;
}

template <class Sink>
void Emit(const Json* value, Sink& sink) {
  if (value == nullptr) {
    sink.Text("");
  } else if (value->is_string()) {
    sink.Text(UTF8toWIN(value->get_ref<const std::string&>()));
  } else if (value->is_number()) {
    sink.Number(value->get<double>());
  } else if (value->is_boolean()) {
    sink.Text(value->get<bool>() ? "true" : "false");
  } else if (value->is_null()) {
    sink.Text("null");
  } else {
    sink.Text("");
  }
}

template <class Sink>
void Nlohmann(const ReplySet& set, const NlohmannPaths& paths, Sink& sink) {
  const Json place = Json::parse(set.place);
  const Json current = Json::parse(set.current);
  const Json forecast = Json::parse(set.forecast);
  for (const auto& p : paths.place) Emit(Walk(place, p), sink);
  const Json& conditions = current.at(0);
  for (const auto& p : paths.current) Emit(Walk(conditions, p), sink);
  const Json& days = forecast.at(std::string(refresh::kDays));
  auto day = [&](int i) -> const Json& { return days[static_cast<std::size_t>(i - 1) % days.size()]; };
  for (const auto& p : paths.today) Emit(Walk(day(1), p), sink);
  for (int i = 1; i <= refresh::kColumns; ++i) {
    for (const auto& p : paths.dayName) Emit(Walk(day(i), p), sink);
  }
  const std::string pollenList(refresh::kPollenList);
  const std::string pollenName(refresh::kPollenName);
  for (int i = 1; i <= refresh::kColumns; ++i) {
    for (const auto& p : paths.day) Emit(Walk(day(i), p), sink);
    for (const Json& entry : day(i).at(pollenList)) {
      const auto name = entry.find(pollenName);
      if (name != entry.end() && name->is_string() && name->get_ref<const std::string&>() == refresh::kUvName) {
        for (const auto& p : paths.uv) Emit(Walk(entry, p), sink);
        break;
      }
    }
  }
}

// ---- simdjson (DOM) ----

template <std::size_t N>
std::vector<std::string> Pointers(const std::array<std::string_view, N>& paths) {
  std::vector<std::string> out;
  for (auto path : paths) out.push_back("/" + std::string(path));
  return out;
}

struct SimdPaths {
  std::vector<std::string> place = Pointers(refresh::kPlace);
  std::vector<std::string> current = Pointers(refresh::kCurrent);
  std::vector<std::string> today = Pointers(refresh::kToday);
  std::vector<std::string> dayName = Pointers(refresh::kDayName);
  std::vector<std::string> day = Pointers(refresh::kDay);
  std::vector<std::string> uv = Pointers(refresh::kUv);
};

// One parser per reply: a DOM parser holds one document at a time. Parsers are reused.
struct SimdParsers {
  simdjson::dom::parser place;
  simdjson::dom::parser current;
  simdjson::dom::parser forecast;
};

template <class Sink>
void Emit(simdjson::simdjson_result<simdjson::dom::element> result, Sink& sink) {
  simdjson::dom::element value;
  if (result.get(value) != simdjson::SUCCESS) {
    sink.Text("");
    return;
  }
  switch (value.type()) {
    case simdjson::dom::element_type::STRING: sink.Text(UTF8toWIN(std::string_view(value.get_string()))); break;
    case simdjson::dom::element_type::INT64:
    case simdjson::dom::element_type::UINT64:
    case simdjson::dom::element_type::DOUBLE: sink.Number(double(value.get_double())); break;
    case simdjson::dom::element_type::BOOL: sink.Text(bool(value.get_bool()) ? "true" : "false"); break;
    case simdjson::dom::element_type::NULL_VALUE: sink.Text("null"); break;
    default: sink.Text(""); break;
  }
}

template <class Sink>
void Simd(const ReplySet& set, const SimdPaths& paths, SimdParsers& parsers, Sink& sink) {
  simdjson::dom::element place = parsers.place.parse(set.placePadded);
  simdjson::dom::element current = parsers.current.parse(set.currentPadded);
  simdjson::dom::element forecast = parsers.forecast.parse(set.forecastPadded);
  for (const auto& p : paths.place) Emit(place.at_pointer(p), sink);
  simdjson::dom::element conditions = current.at(0);
  for (const auto& p : paths.current) Emit(conditions.at_pointer(p), sink);
  simdjson::dom::array days = forecast[refresh::kDays];
  const std::size_t count = days.size();
  auto day = [&](int i) -> simdjson::dom::element { return days.at(static_cast<std::size_t>(i - 1) % count); };
  for (const auto& p : paths.today) Emit(day(1).at_pointer(p), sink);
  for (int i = 1; i <= refresh::kColumns; ++i) {
    for (const auto& p : paths.dayName) Emit(day(i).at_pointer(p), sink);
  }
  for (int i = 1; i <= refresh::kColumns; ++i) {
    const simdjson::dom::element d = day(i);
    for (const auto& p : paths.day) Emit(d.at_pointer(p), sink);
    for (simdjson::dom::element entry : simdjson::dom::array(d[refresh::kPollenList])) {
      std::string_view name;
      if (entry[refresh::kPollenName].get(name) == simdjson::SUCCESS && name == refresh::kUvName) {
        for (const auto& p : paths.uv) Emit(entry.at_pointer(p), sink);
        break;
      }
    }
  }
}

// ---- benchmark plumbing ----

std::vector<std::unique_ptr<ReplySet>>& Sets() {
  static std::vector<std::unique_ptr<ReplySet>> sets;
  return sets;
}

void LoadSets() {
  // Prague has no place-by-key reply on record; the one place of its search reply stands in.
  const std::string search = ReadFile("location-search-prague-2026.json");
  Sets().push_back(MakeSet("prague-2026", SplitJSONArray(search).at(1), "current-prague-details-2026.json",
                           "forecast-5day-details-prague-metric-2026.json"));
  Sets().push_back(MakeSet("piatek-2023-03", ReadFile("location-piatek-pl.json"),
                           "current-piatek-pl-details-2023-03.json",
                           "forecast-5day-details-piatek-metric-2023-03.json"));
}

bool SameValues(const ReplySet& set, const NlohmannPaths& np, const SimdPaths& sp) {
  Record ours;
  Record nl;
  Record sj;
  SimdParsers parsers;
  Ours(set, ours);
  Nlohmann(set, np, nl);
  Simd(set, sp, parsers, sj);
  bool same = ours.values == nl.values && ours.values == sj.values;
  if (!same) {
    std::fprintf(stderr, "%s: the contenders read different values\n", set.name.c_str());
    for (std::size_t i = 0; i < ours.values.size(); ++i) {
      const std::string& a = ours.values[i];
      const std::string b = i < nl.values.size() ? nl.values[i] : "<none>";
      const std::string c = i < sj.values.size() ? sj.values[i] : "<none>";
      if (a != b || a != c) std::fprintf(stderr, "  #%zu ours '%s' nlohmann '%s' simdjson '%s'\n", i, a.c_str(), b.c_str(), c.c_str());
    }
  } else {
    std::printf("%s: %zu values read alike by all contenders\n", set.name.c_str(), ours.values.size());
  }
  return same;
}

// Console output as usual (without colours), then the ratios of the same run. CPU time and
// the median of nine repetitions are used: on a shared machine they vary least.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.error_occurred) continue;
      // The median of the repetitions where there are some, else the one run.
      if (run.run_type == Run::RT_Aggregate ? run.aggregate_name == "median"
                                            : nanoseconds_.count(run.run_name.function_name) == 0) {
        nanoseconds_[run.run_name.function_name] = run.GetAdjustedCPUTime();  // time unit set to ns below
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    std::printf("\nCPU time per refresh (microseconds, median) and ratios, same run:\n");
    std::printf("%-16s %10s %12s %10s %10s %16s %16s\n", "replies", "ours", "ours-queries", "nlohmann", "simdjson",
                "nlohmann/ours", "simdjson/ours");
    for (const auto& set : Sets()) {
      const double ours = Find("ours/" + set->name);
      const double queries = Find("ours-queries/" + set->name);
      const double nl = Find("nlohmann/" + set->name);
      const double sj = Find("simdjson/" + set->name);
      if (ours <= 0) continue;
      std::printf("%-16s %10.1f %12.1f %10.1f %10.1f %15.2fx %15.2fx\n", set->name.c_str(), ours / 1000,
                  queries / 1000, nl / 1000, sj / 1000, nl / ours, sj / ours);
    }
    std::printf("(a ratio above 1 means ours is faster by that factor)\n");
  }

 private:
  double Find(const std::string& name) const {
    const auto it = nanoseconds_.find(name);
    return it == nanoseconds_.end() ? 0 : it->second;
  }
  std::map<std::string, double> nanoseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  LoadSets();
  static const NlohmannPaths nlohmannPaths;
  static const SimdPaths simdPaths;
  bool same = true;
  for (const auto& set : Sets()) same = SameValues(*set, nlohmannPaths, simdPaths) && same;
  if (!same) return 1;

  static SimdParsers parsers;
  for (const auto& owned : Sets()) {
    const ReplySet* set = owned.get();
    benchmark::RegisterBenchmark(("ours/" + set->name).c_str(), [set](benchmark::State& state) {
      for (auto _ : state) {
        Checksum sum;
        Ours(*set, sum);
        benchmark::DoNotOptimize(sum);
      }
    })->Unit(benchmark::kNanosecond)->MinTime(0.1)->Repetitions(9)->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark(("ours-queries/" + set->name).c_str(), [set](benchmark::State& state) {
      for (auto _ : state) {
        Checksum sum;
        OursQueries(set->placeWin, set->currentWin, set->forecastWin, sum);
        benchmark::DoNotOptimize(sum);
      }
    })->Unit(benchmark::kNanosecond)->MinTime(0.1)->Repetitions(9)->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark(("nlohmann/" + set->name).c_str(), [set](benchmark::State& state) {
      for (auto _ : state) {
        Checksum sum;
        Nlohmann(*set, nlohmannPaths, sum);
        benchmark::DoNotOptimize(sum);
      }
    })->Unit(benchmark::kNanosecond)->MinTime(0.1)->Repetitions(9)->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark(("simdjson/" + set->name).c_str(), [set](benchmark::State& state) {
      for (auto _ : state) {
        Checksum sum;
        Simd(*set, simdPaths, parsers, sum);
        benchmark::DoNotOptimize(sum);
      }
    })->Unit(benchmark::kNanosecond)->MinTime(0.1)->Repetitions(9)->ReportAggregatesOnly(true);
  }

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
