// The arithmetic of engine matches: points, the Elo difference a score
// stands for with its error margin, the likelihood of superiority and the
// sequential probability ratio test that stops a match once it has decided.
#pragma once

#include <array>
#include <string>

namespace kestrel {

// Wins, draws and losses of one side (the first engine of a match).
struct TMatchScore {
  int wins = 0;
  int draws = 0;
  int losses = 0;

  int Games() const { return wins + draws + losses; }
  // A win counts 2 points, a draw 1.
  int Points() const { return 2 * wins + draws; }
  // Points as a share of the points at stake, 0..1; 0.5 without games.
  double Fraction() const;
  TMatchScore Reversed() const { return {losses, draws, wins}; }
  TMatchScore& operator+=(const TMatchScore& o) {
    wins += o.wins;
    draws += o.draws;
    losses += o.losses;
    return *this;
  }
  bool operator==(const TMatchScore&) const = default;
};

// The Elo difference whose expected score is `fraction` (0 < fraction < 1);
// clamped to +-2000 at the ends.
double EloFromFraction(double fraction);
// The expected score of a side `elo` points stronger.
double FractionFromElo(double elo);

struct TEloEstimate {
  double elo = 0;     // difference, first engine minus second
  double margin = 0;  // half width of the 95% confidence interval
  double los = 0.5;   // likelihood of superiority, 0..1
};
TEloEstimate EstimateElo(const TMatchScore& score);

// "score W D L  elo E +- X  los P%"
std::string ScoreLine(const TMatchScore& score);

// The two games of one opening, colours exchanged, taken together: how many
// pairs gave the first engine 0, 1/2, 1, 1 1/2 and 2 points. An opening that
// wins for whichever side has it adds a win and a loss to the games, which
// widens their margin, but an even pair here: the margin of the pairs is the
// true one of a match played that way, and narrower.
struct TPairCounts {
  std::array<int, 5> counts{};  // [half points of the pair, 0..4]

  int Pairs() const { return counts[0] + counts[1] + counts[2] + counts[3] + counts[4]; }
  bool operator==(const TPairCounts&) const = default;
};
TEloEstimate EstimatePairsElo(const TPairCounts& pairs);
// "pairs N0 N1 N2 N3 N4  elo E +- X  los P%"
std::string PairsLine(const TPairCounts& pairs);

// Percentage of a pair or a candidate as the result files show it:
// (2 wins + draws) x 50 / games in whole numbers, "-" when no game had a result.
std::string PairPercentText(const TMatchScore& score);

enum class TSprtDecision { running, acceptH0, acceptH1 };

struct TSprt {
  double elo0 = 0;
  double elo1 = 5;
  double alpha = 0.05;
  double beta = 0.05;

  double LowerBound() const;  // log(beta / (1 - alpha))
  double UpperBound() const;  // log((1 - beta) / alpha)
  // Log-likelihood ratio of H1 (elo1) against H0 (elo0), in the normal
  // approximation of the trinomial model; 0 until wins, draws and losses
  // give a variance.
  double Llr(const TMatchScore& score) const;
  TSprtDecision Decide(const TMatchScore& score) const;
};

// "sprt llr L (lower..upper) H0 accepted" and the like.
std::string SprtLine(const TSprt& sprt, const TMatchScore& score);

}  // namespace kestrel
