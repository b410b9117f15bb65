// The computer player's control flow: book, mate searches, and the main selection in its six
// stages.
#include "analysis/player_think.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "analysis/deep_score.h"
#include "analysis/mate_solver.h"
#include "analysis/player_plans.h"
#include "analysis/player_tactics.h"
#include "analysis/strategy_scripts.h"
#include "rules/move_rules.h"

namespace shogi::player {
namespace {

// What sets the levels apart besides the targets and budgets: the depth of the deep score,
// the second test a ply deeper (at levels 8 and 9 further plies while their longer budgets
// last), and - what decides most games between computer players - whether a candidate that
// would lead is asked if the opponent then mates within a few moves, a line that the few
// plies of the deep score do not reach.
//                                mate threat budget deep second always reply-mate
constexpr LevelSettings kLevels[kMaxLevel + 1] = {
    {3, 1, 10, 1, 0, false, 0},  // (unused: level 0)
    {3, 1, 10, 1, 0, false, 0},  // 1: a beginner - one reply deep, plays its first good idea
    {3, 3, 15, 2, 0, false, 3},  // 2: two plies of replies; refuses a move allowing a mate in 3
    {5, 5, 20, 1, 0, false, 3},  // 3: mates in 5; one ply of replies, but a higher target
    {7, 5, 22, 2, 0, false, 3},  // 4: mates in 7, two plies of replies
    {7, 5, 25, 2, 3, true, 5},   // 5: the third ply on every leader; refuses a mate in 5
    {9, 5, 30, 2, 4, false, 7},  // 6: mates in 9; tests to 4 plies when the move looks playable
    {9, 5, 45, 2, 3, true, 9},   // 7: the deep threat check, tests every leader
    {9, 5, 120, 2, 4, true, 9},  // 8: more candidates, the longer mate search, tests to 4 plies
    {9, 5, 240, 3, 5, true, 9},  // 9: three plies on every candidate looked at, tests to 5
};

// The share of the budget that the mate searches and the threat checks may use before the
// deep evaluation; a search cut off there counts as finding nothing.
constexpr double kMateShare = 0.3;
constexpr double kThreatShare = 0.6;
// The share of the budget that the first pass of the deep evaluation may use at the levels
// with a second, deeper test; the rest is for that test.
constexpr double kFirstPassShare = 0.85;

// The book is read while the game has fewer than 64 moves; in the first 10 always.
constexpr int kBookPlies = 64;
constexpr int kBookAlwaysPlies = 10;
// The wait for the clock's second to change after a book hit.
constexpr int kBookWaitChecks = 20000;

struct Candidate {
  MoveCode move;
  int preliminary = 0;
  int total = 0;
  bool alive = true;
  bool repeats = false;  // the position after it has occurred before: a step towards 千日手
  int mated_in = -1;     // the opponent's mate after it (plies; 0 none; -1 not searched)
};

// A repetition is worth a draw at most, and a little less in the ordering, so that a side
// that is not worse plays on instead of going round in circles.
constexpr int kRepetitionPenalty = 10;

class Selection {
 public:
  Selection(int level, const LevelSettings& settings, const GameRecord& record,
            const Position& shown, const ThinkEnvironment& env, SearchControl& control,
            ThinkOutcome& out)
      : level_(level),
        settings_(settings),
        record_(record),
        shown_(shown),
        side_(SideOfPly(record.PlyCount)),
        env_(env),
        control_(control),
        out_(out) {}

  // The mate search of steps 3 to 6. True when a mate's first move was chosen (in `move`)
  // or the thinking must end (AbortFlag).
  bool MateSteps(int depth, MoveCode& move) {
    control_.SetDeadline(settings_.budget * kMateShare);
    MateAnswer found = Mate(shown_, side_, depth);
    if (control_.Aborted()) return true;
    if (found.result > 0) {
      for (int d = depth - 2; d >= 1; d -= 2) {
        const MateAnswer shorter = Mate(shown_, side_, d);
        if (control_.Aborted()) return true;
        if (shorter.result <= 0) break;
        found = shorter;
      }
      return PlayMate(found.move, move);
    }
    const bool timed_out = control_.Reason() == StopReason::kTimeUp;
    control_.ClearTimeUp();
    if (timed_out || env_.mate_table == nullptr || !env_.mate_table->Allocated()) return false;
    if (env_.mate_table->Full()) {
      for (int d = depth - 2; d >= 1 && env_.mate_table->Full(); d -= 2) {
        const MateAnswer retry = Mate(shown_, side_, d);
        if (control_.Aborted()) return true;
        if (retry.result > 0) return PlayMate(retry.move, move);
      }
    } else if (level_ >= 8) {
      for (int d = depth + 2; d <= 11 && !env_.mate_table->Full(); d += 2) {
        const MateAnswer longer = Mate(shown_, side_, d);
        if (control_.Aborted()) return true;
        if (control_.Stopped()) break;
        if (longer.result > 0) return PlayMate(longer.move, move);
      }
    }
    control_.ClearTimeUp();
    return false;
  }

  // The main selection. Returns the chosen move, or the end marker to resign or stop.
  MoveCode Choose() {
    // Stage 1: plans.
    auto list = std::make_unique<PlanList>();
    ListPseudoLegal(shown_, side_, *list);
    const BonusMap bonus = BuildSquareBonus(shown_, side_, record_.PlyCount);
    out_.script = RunStrategyScripts(shown_, side_, record_.PlyCount, *list);
    if (out_.script == 0) TryFixedMoves(shown_, side_, record_.PlyCount, *list);
    if (control_.ReportNow()) return {};

    // Stage 2: candidates - the plan list's legal moves, in its order.
    if (!CollectCandidates(*list)) return {};
    out_.candidates = static_cast<int>(candidates_.size());
    if (candidates_.empty()) return {};

    // Stage 3: the opponent's threats.
    control_.SetDeadline(settings_.budget * kThreatShare);
    bool filtered = false;
    MoveCode forced;
    Verdict verdict = ThreatCheck(filtered, forced);
    // Stage 4: the deep threat check at the highest levels.
    if (verdict == Verdict::kGoOn && !filtered) verdict = DeepThreatCheck(forced);
    if (verdict == Verdict::kResign) return {};
    if (verdict == Verdict::kPlay) {
      out_.source = MoveSource::kThreatFilter;
      return forced;
    }
    control_.ClearTimeUp();
    if (control_.Aborted()) return {};

    // Stage 5: preliminary scores.
    std::vector<int> alive = Alive();
    out_.source = MoveSource::kSelection;
    if (alive.size() == 1) return candidates_[alive[0]].move;
    int provisional = Preliminary(alive, bonus);
    if (control_.Aborted()) return {};

    // Stage 6: the deep evaluation.
    control_.SetDeadline(settings_.budget);
    return DeepEvaluation(alive, provisional);
  }

 private:
  enum class Verdict { kGoOn, kPlay, kResign };

  MateAnswer Mate(const Position& pos, Side attacker, int depth) {
    MateAnswer none;
    std::string message;
    if (CheckMateProblem(pos, attacker, message) != 0) return none;
    MateSearchOptions o;
    o.solver = kSolver2;
    o.abort_flag = control_.StopWord();
    o.table =
        env_.mate_table != nullptr && env_.mate_table->Allocated() ? env_.mate_table : nullptr;
    o.progress = [this](std::int64_t, std::int64_t) { return !control_.Poll(); };
    const MateAnswer a = SearchMate(pos, attacker, depth, o);
    if (a.stopped) return none;
    return a;
  }

  // Whether the opponent mates within `depth` after the candidate `c`.
  bool AllowsMate(const Candidate& c, int depth) {
    Position after = shown_;
    ApplyMove(after, c.move, side_);
    return Mate(after, Opponent(side_), depth).result > 0;
  }

  bool PlayMate(MoveCode mating, MoveCode& move) {
    if (!IsLegal(mating)) return false;
    move = mating;
    out_.source = MoveSource::kMate;
    return true;
  }

  bool IsLegal(MoveCode m) {
    if (!legal_) {
      legal_ = std::make_unique<LegalMoveList>();
      (void)LegalMoves(record_, shown_, *legal_);
    }
    for (int i = 0; i < legal_->count; ++i) {
      if (legal_->Move(i) == m) return true;
    }
    return false;
  }

  bool CollectCandidates(const PlanList& list) {
    IsLegal(MoveCode{});  // builds the legal list
    std::vector<std::uint8_t> seen(static_cast<std::size_t>(108 * 82 * 2), 0);
    auto key = [](int o, int d, int p) { return static_cast<std::size_t>((o * 82 + d) * 2 + p); };
    for (int i = 0; i < legal_->count; ++i)
      seen[key(legal_->origin[i], legal_->destination[i], legal_->promote[i])] = 1;
    for (int i = 0; i < list.count; ++i) {
      const int o = list.origin[i], d = list.destination[i], p = list.promote[i] ? 1 : 0;
      if (o < 1 || o > 107 || !IsSquare(d)) continue;
      std::uint8_t& s = seen[key(o, d, p)];
      if (s != 1) continue;
      s = 2;  // once only
      Candidate c;
      c.move = EncodeMove(o, d, p);
      c.repeats = Repeats(c.move);
      candidates_.push_back(c);
    }
    return true;
  }

  // Whether the position after `m` occurred earlier in the game with the same side to move.
  bool Repeats(MoveCode m) {
    if (history_.empty()) {
      Position pos = record_.InitialPosition;
      for (int i = record_.StartIndex; i < record_.PlyCount; ++i) {
        ApplyMove(pos, record_.MoveList[i], SideOfPly(i));
        if (SideOfPly(i) == side_) history_.push_back(pos);
      }
      if (history_.empty()) history_.push_back(Position{});  // nothing to compare with
    }
    Position after = shown_;
    ApplyMove(after, m, side_);
    for (const Position& p : history_) {
      if (std::memcmp(&p, &after, 98) == 0) return true;
    }
    return false;
  }

  std::vector<int> Alive() const {
    std::vector<int> v;
    for (std::size_t i = 0; i < candidates_.size(); ++i)
      if (candidates_[i].alive) v.push_back(static_cast<int>(i));
    return v;
  }

  // Keeps the candidates after which the opponent has no mate within `depth`. Returns the
  // survivors; a search cut off by the clock keeps its candidate.
  std::vector<int> Filter(const std::vector<int>& from, int depth) {
    std::vector<int> kept;
    for (int i : from) {
      if (control_.Aborted()) return kept;
      if (!AllowsMate(candidates_[i], depth)) kept.push_back(i);
    }
    return kept;
  }

  void KeepOnly(const std::vector<int>& kept) {
    for (Candidate& c : candidates_) c.alive = false;
    for (int i : kept) candidates_[i].alive = true;
  }

  Verdict ThreatCheck(bool& filtered, MoveCode& forced) {
    if (!shown_.HasKing(side_)) return Verdict::kGoOn;
    if (Mate(shown_, Opponent(side_), settings_.threat_depth).result <= 0) return Verdict::kGoOn;
    if (control_.Aborted()) return Verdict::kResign;
    filtered = true;
    std::vector<int> kept = Filter(Alive(), 3);
    if (control_.Aborted() || kept.empty()) return Verdict::kResign;
    if (kept.size() == 1) {
      forced = candidates_[kept[0]].move;
      return Verdict::kPlay;
    }
    if (level_ >= 3) {
      kept = Filter(kept, 5);
      if (control_.Aborted() || kept.empty()) return Verdict::kResign;
      if (kept.size() == 1) {
        forced = candidates_[kept[0]].move;
        return Verdict::kPlay;
      }
    }
    if (kept.size() == 2) {
      for (int k = 0; k < 2; ++k) {
        if (AllowsMate(candidates_[kept[k]], 7)) {
          if (control_.Aborted()) return Verdict::kResign;
          forced = candidates_[kept[1 - k]].move;
          return Verdict::kPlay;
        }
      }
    }
    KeepOnly(kept);
    return Verdict::kGoOn;
  }

  Verdict DeepThreatCheck(MoveCode& forced) {
    const int n = static_cast<int>(candidates_.size());
    const bool wanted = level_ >= 9 || (level_ == 8 && n < 67) || (level_ == 7 && n < 35);
    if (!wanted || !shown_.HasKing(side_)) return Verdict::kGoOn;
    if (Mate(shown_, Opponent(side_), 7).result <= 0) return Verdict::kGoOn;
    if (control_.Aborted()) return Verdict::kResign;
    const std::vector<int> kept = Filter(Alive(), 7);
    if (control_.Aborted()) return Verdict::kResign;
    if (kept.size() <= 1) {
      forced = kept.empty() ? candidates_[0].move : candidates_[kept[0]].move;
      return Verdict::kPlay;
    }
    KeepOnly(kept);
    return Verdict::kGoOn;
  }

  // Sets preliminary scores and totals; returns the provisional best's index.
  int Preliminary(const std::vector<int>& alive, const BonusMap& bonus) {
    for (int i : alive) {
      Candidate& c = candidates_[i];
      const CandidateTactics t = AssessCandidate(shown_, side_, c.move);
      c.preliminary = t.preliminary;
      c.total = t.preliminary + bonus[DestinationOf(c.move)] - t.loss + t.gain;
      if (c.repeats) c.total -= kRepetitionPenalty;
    }
    Candidate& first = candidates_[alive[0]];
    if (out_.script != 0 && first.preliminary < 3) {
      first.total += 3 - first.preliminary;
      first.preliminary = 3;
    }
    for (int i : alive) {
      Candidate& c = candidates_[i];
      if (c.preliminary < -10) c.total = c.preliminary;
    }
    if (alive.size() == 2) return alive[0];
    int best = -1, best_total = -20000;
    for (int i : alive) {
      if (candidates_[i].total > best_total) {
        best_total = candidates_[i].total;
        best = i;
      }
    }
    if (best < 0) best = alive[0];
    if (level_ >= 8 && alive.size() <= 30 && best_total <= 5) MatingThreatScan(alive, best_total);
    // The scan may have raised others, but never above B - 5: the best stays.
    return best;
  }

  // Level 8 and above: quiet candidates well below the best that threaten mate in 3.
  void MatingThreatScan(const std::vector<int>& alive, int b) {
    int position = 0;
    for (int i : alive) {
      ++position;
      Candidate& c = candidates_[i];
      if (c.total > b - 10 || GivesCheck(shown_, side_, c.move)) continue;
      Position after = shown_;
      ApplyMove(after, c.move, side_);
      if (control_.Aborted()) return;
      if (Mate(after, side_, 3).result > 0) {
        c.total = b - 5;
        if (position > 21) return;
      }
    }
  }

  // The deep score of candidate `i` at `depth` with `bound` (a score at or below the bound
  // only says that the candidate is no better). False when the clock or AbortFlag cut it off.
  bool Score(int i, int depth, int bound, int& score) {
    Candidate& c = candidates_[i];
    Position after = shown_;
    ApplyMove(after, c.move, side_);
    bool complete = false;
    int s = DeepScore(after, side_, depth, bound, control_, complete);
    if (!complete) return false;
    if (s > bound && settings_.reply_mate_depth > 0) {
      // A candidate that would lead is first asked whether it lets the opponent mate.
      if (c.mated_in < 0) {
        const MateAnswer a = Mate(after, Opponent(side_), settings_.reply_mate_depth);
        if (control_.Stopped()) return false;
        c.mated_in = a.result > 0 ? a.result : 0;
      }
      if (c.mated_in > 0) s = std::min(s, -kMateScore + c.mated_in);
    }
    score = c.repeats ? std::min(s, 0) : s;
    return true;
  }

  // Whether the level tests a candidate whose first result is `first` a ply deeper.
  bool WantsSecondTest(int first) const {
    return settings_.second_depth > settings_.deep_depth &&
           (settings_.second_always || first >= -24 * kScoreScale);
  }

  // A candidate the first pass looked at, with its first result: exact, or (when it did not
  // beat the best of its time) only an upper bound.
  struct Looked {
    int index;
    int first;
    bool exact;
    int result;  // the lower of the first and the deepest test's result so far
  };

  MoveCode DeepEvaluation(std::vector<int> alive, int provisional) {
    int best = provisional;
    int best_score = 0;
    // The provisional best is searched one ply deeper at a time up to the level's depth, so
    // that a short budget still leaves a reply-aware score; the other candidates are then
    // compared at the depth it reached.
    int depth = 0;
    for (int d = 1; d <= settings_.deep_depth; ++d) {
      int v;
      if (!Score(best, d, -kInfiniteScore, v)) break;
      depth = d;
      best_score = v;
    }
    if (depth == 0) {
      // No complete score in time: the provisional best stands.
      control_.ClearTimeUp();
      return control_.Aborted() ? MoveCode{} : candidates_[best].move;
    }
    ++out_.deep_scored;
    const int s = best_score / kScoreScale;
    if (level_ == 1 && s >= -39) {
      out_.best_score = s;
      return candidates_[best].move;
    }
    // First the candidates in the order of their totals until one reaches the level's target
    // (which falls with every candidate looked at); a level with a second, deeper test keeps
    // a share of its budget for it.
    const bool second = depth == settings_.deep_depth && settings_.second_depth > depth;
    const double first_pass = second ? settings_.budget * kFirstPassShare : settings_.budget;
    control_.SetDeadline(first_pass);
    int target = LevelTarget(level_, s) * kScoreScale;
    const int step = (level_ == 9 ? 3 : 2) * kScoreScale;
    std::vector<bool> done(candidates_.size(), false);
    done[best] = true;
    std::vector<Looked> looked{{best, best_score, true, best_score}};
    while (best_score < target && control_.Elapsed() < first_pass) {
      // The remaining candidate with the highest total (the first of equal ones).
      int next = -1;
      for (int i : alive) {
        if (done[i]) continue;
        if (next < 0 || candidates_[i].total > candidates_[next].total) next = i;
      }
      if (next < 0) break;
      done[next] = true;
      int score;
      if (!Score(next, depth, best_score, score)) break;
      ++out_.deep_scored;
      looked.push_back({next, score, score > best_score, score});
      if (score > best_score) {
        best_score = score;
        best = next;
      }
      target -= step;
    }
    control_.ClearTimeUp();
    if (second && !control_.Aborted()) {
      control_.SetDeadline(settings_.budget);
      SecondTests(looked, depth, best, best_score);
      control_.ClearTimeUp();
    }
    if (control_.Aborted()) return {};
    out_.best_score = best_score / kScoreScale;
    return candidates_[best].move;
  }

  // The second test, in passes one ply deeper each up to the level's second depth while time
  // remains: a candidate's result is the lower of its first result and its deepest one. Each
  // pass tests the choice so far first; when its result falls, the candidates whose first
  // result is above it (the only ones that can still change the choice) are tested in the
  // order of their first results, each against the best so far. A candidate is chosen only
  // with a result of the same pass as the one it replaces, so a pass cut off by the clock
  // changes the choice only for a candidate it has tested. `best` and `best_score` end as the
  // choice and its result.
  void SecondTests(std::vector<Looked>& looked, int depth, int& best, int& best_score) {
    std::stable_sort(looked.begin(), looked.end(), [](const Looked& a, const Looked& b) {
      return a.first != b.first ? a.first > b.first : a.exact && !b.exact;
    });
    out_.first_choice = candidates_[looked[0].index].move;
    for (int d = depth + 1; d <= settings_.second_depth; ++d) {
      if (!Test(looked[0], d, -kInfiniteScore)) break;
      int bound = looked[0].result;
      std::size_t chosen = 0;
      for (std::size_t k = 1; k < looked.size() && looked[k].first > bound; ++k) {
        Looked& c = looked[k];
        if (!c.exact) {
          // Known only to be no better than an earlier best: its exact first result decides.
          int first;
          if (!Score(c.index, depth, bound, first)) break;
          c.first = c.result = first;
          c.exact = first > bound;
          if (!c.exact) continue;
        }
        if (!Test(c, d, bound)) break;
        if (c.result > bound) {
          bound = c.result;
          chosen = k;
        }
      }
      // The pass's choice leads the next pass; the others keep their order.
      std::rotate(looked.begin(), looked.begin() + static_cast<std::ptrdiff_t>(chosen),
                  looked.begin() + static_cast<std::ptrdiff_t>(chosen) + 1);
      if (control_.Stopped()) break;
      out_.second_depth = d;
    }
    best = looked[0].index;
    best_score = looked[0].result;
  }

  // Tests a looked-at candidate at `d` (bound as for Score); its result becomes the lower of
  // the two, or stays its first result when the level does not test a score that low. False
  // when the clock or AbortFlag cut the test off.
  bool Test(Looked& c, int d, int bound) {
    if (!WantsSecondTest(c.first)) return true;
    int deeper;
    if (!Score(c.index, d, bound, deeper)) return false;
    ++out_.second_tests;
    c.result = std::min(c.first, deeper);
    return true;
  }

  int level_;
  const LevelSettings& settings_;
  const GameRecord& record_;
  const Position& shown_;
  Side side_;
  const ThinkEnvironment& env_;
  SearchControl& control_;
  ThinkOutcome& out_;
  std::unique_ptr<LegalMoveList> legal_;
  std::vector<Candidate> candidates_;
  std::vector<Position> history_;
};

}  // namespace

const LevelSettings& SettingsOfLevel(int level) {
  return kLevels[std::clamp(level, kMinLevel, kMaxLevel)];
}

int LevelTarget(int level, int s) {
  switch (level) {
    case 1:
      return -40;
    case 2:
      return 2;
    case 3:
      return 4;
    case 4:
      return s < 2 ? 8 : s + 6;
    case 5:
      return s < 3 ? 11 : s + 8;
    case 6:
      return s < 6 ? 14 : s + 8;
    case 7:
      return s < 7 ? 17 : s + 10;
    case 8:
      return s < 9 ? 19 : s + 10;
    default:
      return s < 14 ? 34 : s + 20;
  }
}

ThinkOutcome Thinker::Think(int level, const GameRecord& record, const Position& shown,
                            const ThinkEnvironment& env) {
  ThinkOutcome out;
  level = std::clamp(level, kMinLevel, kMaxLevel);
  LevelSettings settings = kLevels[level];
  if (env.budget_scale > 0) settings.budget *= env.budget_scale;
  if (env.budget_cap > 0) settings.budget = std::min(settings.budget, env.budget_cap);
  SearchControl control(env.abort_flag, env.progress, env.clock);
  control.StartMove(settings.budget);
  const int ply = record.PlyCount;

  auto finish = [&](MoveCode move, MoveSource source) {
    out.polls = control.Polls();
    out.aborted = control.Aborted();
    if (out.aborted || move.to == 0) {
      out.result = 0;
      out.move = MoveCode{};
      return out;
    }
    // A drop never promotes.
    if (IsDrop(move)) move = EncodeMove(move.from, DestinationOf(move), 0);
    out.move = move;
    out.result = OriginOf(move);
    if (source != MoveSource::kNone) out.source = source;
    return out;
  };

  // Step 2: the book (level 2 and up) while the game has fewer than 64 moves.
  if (level >= 2 && ply < kBookPlies && env.book != nullptr) {
    if (ply <= kBookAlwaysPlies) book_failed_ = false;
    if (!book_failed_) {
      out.book_consulted = true;
      const int random = env.random ? env.random() : std::rand();
      const auto seconds = static_cast<long long>(control.Now());
      const int first = static_cast<int>((random + seconds) & 0x7FFF);
      MoveCode move;
      switch (LookUpBook(*env.book, record, shown, first, control, move)) {
        case BookAnswer::kHit: {
          const long long second = static_cast<long long>(std::floor(control.Now()));
          for (int i = 0; i < kBookWaitChecks; ++i) {
            if (control.ReportNow()) break;
            if (static_cast<long long>(std::floor(control.Now())) != second) break;
          }
          return finish(move, MoveSource::kBook);
        }
        case BookAnswer::kStopped:
          return finish({}, MoveSource::kNone);
        case BookAnswer::kMiss:
          book_failed_ = true;
          break;
        case BookAnswer::kNoBook:
          break;
      }
    }
  }

  Selection selection(level, settings, record, shown, env, control, out);
  MoveCode move;
  if (selection.MateSteps(settings.mate_depth, move)) return finish(move, MoveSource::kNone);
  if (control.Aborted()) return finish({}, MoveSource::kNone);
  return finish(selection.Choose(), MoveSource::kNone);
}

}  // namespace shogi::player
