// The windows' own texts in the language table (entries 358 on), by
// name: LangQ(LtSomething). The built-in English of each is in
// builtin_texts.cpp, in this order; the shipped language files give each one.
#pragma once

namespace kestrel {

enum TWindowText : int {
  // Database window and its game commands
  LtDeleteGamesTip = 358,
  LtFromGame,  // 359
  LtToGame,  // 360
  LtReadOnlyDatabase,  // 361
  LtCopyGamesTip,  // 362
  LtAppendTip,  // 363
  LtEditHeaderTip,  // 364
  LtPlayersAdded,  // 365
  LtTournamentsAdded,  // 366
  LtSitesAdded,  // 367
  LtImplausibleIndexes,  // 368
  LtNoGameToCopy,  // 369
  LtGamesCopied,  // 370
  LtUnreadableStoredEmpty,  // 371
  LtGamesMerged,  // 372
  LtNoDuplicates,  // 373
  LtDuplicateGroups,  // 374
  LtNoGameSelected,  // 375
  LtGameUnreadable,  // 376
  LtHeadersWritten,  // 377
  LtGamesOfTotal,  // 378
  LtAndMore,  // 379
  LtCannotAdd,  // 380
  LtTooManyGames,  // 381
  // Maintenance menu and its dialogs
  LtDeleteSelectedQuestion,  // 382
  LtGamesDeleted,  // 383
  LtDeletedRemoved,  // 384
  LtMarkDamagedQuestion,  // 385
  LtDamagedCounts,  // 386
  LtCheckCancelled,  // 387
  LtDatabaseSavedInto,  // 388
  LtCommentsRemoved,  // 389
  LtVariationsRemoved,  // 390
  LtMoveKeyUpTip,  // 391
  LtMoveKeyDownTip,  // 392
  LtCompare,  // 393
  LtFastMatchTip,  // 394
  // Progress of long database work
  LtCopyGames,  // 395
  LtCopying,  // 396
  LtCopyingFile,  // 397
  LtCopyDatabase,  // 398
  LtLoading,  // 399
  LtMatching,  // 400
  LtWorking,  // 401
  LtChecking,  // 402
  LtTreeReading,  // 403
  LtTreeSorting,  // 404
  LtTreeMoving,  // 405
  LtTreeWriting,  // 406
  LtEstimatedTime,  // 407
  LtSearching,  // 408
  LtSearchingFound,  // 409
  LtUnreadableGames,  // 410
  // Main window's database commands
  LtImportPdn,  // 411
  LtImportTxt,  // 412
  LtDatabaseInUse,  // 413
  LtOpenReadOnlyQuestion,  // 414
  LtGameNotSavedBecause,  // 415
  LtGameUnreadableBecause,  // 416
  LtImporting,  // 417
  LtImportDatabase,  // 418
  LtWrongDatabaseType,  // 419
  LtConversionError,  // 420
  // Search dialog
  LtYears,  // 421
  LtCleanPattern,  // 422
  // Engine match and engines tournament
  LtSortitionDatabase,  // 423
  LtGamesForMatch,  // 424
  LtSaveGamesTo,  // 425
  LtOpen,  // 426
  LtEngines,  // 427
  LtOpenEngines,  // 428
  LtTotalFunctions,  // 429
  LtBestInRound,  // 430
  LtAll,  // 431
  LtMutateStage,  // 432
  LtStatic,  // 433
  LtDynamic,  // 434
  LtNamePrefix,  // 435
  LtRunNextGenetics,  // 436
  LtPositionsSuffix,  // 437
  LtOpenDatabases,  // 438
  LtCannotOpenFile,  // 439
  LtOpenSortitionDatabase,  // 440
  LtDatabaseHolds,  // 441
  LtOpenSaveDatabase,  // 442
  LtNoSortitionPositions,  // 443
  // Endgame databases generator
  LtTables,  // 444
  LtAllTablesUpTo,  // 445
  LtPiecesSuffix,  // 446
  LtOneSplit,  // 447
  LtPiecesAgainst,  // 448
  LtDistancesMtw,  // 449
  LtThreads,  // 450
  LtGenerate,  // 451
  LtTablesProgress,  // 452
  LtRunStatistics,  // 453
  LtTablesColon,  // 454
  LtPositionsColon,  // 455
  LtLongestDistance,  // 456
  LtContradictions,  // 457
  LtTablesPlanned,  // 458
  LtNoTablesSplit,  // 459
  LtStarting,  // 460
  LtStopping,  // 461
  LtStoppedByError,  // 462
  LtCancelledRunAgain,  // 463
  LtSolvedPresent,  // 464
  LtCountIn,  // 465
  LtPliesBeyond,  // 466
  LtContradictingPositions,  // 467
  LtNewTablesFolder,  // 468
  // Other windows
  LtClearStatisticsTip,  // 469
  LtSelectColours,  // 470
  LtHeaderNamesHint,  // 471
  LtGamesLeftOut,  // 472
  LtExportGifTitle,  // 473
  LtSaveRtfFile,  // 474
  LtTextFileFilter,  // 475
  LtSaveListTip,  // 476
  LtNumberColumn,  // 477
  LtSaveList,  // 478
  LtCannotWrite,  // 479
  LtHubCommandTip,  // 480
  LtExternalHub,  // 481
  LtWhiteMan,  // 482
  LtBlackMan,  // 483
  LtWhiteKing,  // 484
  LtBlackKing,  // 485
  LtTransliterateWarning,  // 486
  LtCannotBeUndoneContinue,  // 487
  LtLicenceText,  // 488
  LtFigureNotLoaded,  // 489
  LtSettingsNotSaved,  // 490
  LtUseFont,  // 491
  LtUnifiedPool,  // 492
  LtAmericanPool,  // 493
  LtJamaicanPool,  // 494
  LtYes,  // 495
  LtNoAnswer,  // 496
  LtTotal,  // 497
  LtLastWindowText = LtTotal,
};

}  // namespace kestrel
